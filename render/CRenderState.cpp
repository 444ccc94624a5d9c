// CRenderState: the engine's own record of the OpenGL state it sets, and the driver as fallback.
#include "render/CRenderState.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "platform/CPlatform.h"
#include "render/CMatrixStack.h"

namespace {

const GLenum kCapabilities[] = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING, GL_SCISSOR_TEST,
                                GL_BLEND};
const int kCapabilityCount = sizeof(kCapabilities) / sizeof(kCapabilities[0]);

// A value the engine set (or a new context starts with); "known" false means ask OpenGL.
template <typename T>
struct Known {
    bool known = false;
    T value{};
};

struct Color {
    float rgba[4];
};

struct Viewport {
    int box[4];
};

struct BlendFunc {
    int source;
    int destination;
};

struct State {
    // False in 3D windows and without a context: then nothing is remembered at all.
    bool trusted = false;
    Known<bool> enabled[kCapabilityCount];
    Known<BlendFunc> blend;
    Known<int> matrixMode;
    Known<Viewport> viewport;
    Known<Color> color;
    Known<int> depthBits;
    // Whether the alpha test, the stencil test, the colour logic operation and the blend
    // equation, which the engine never sets, are at OpenGL's defaults (see LearnFragmentOps).
    Known<bool> fragmentOpsAtDefault;
    // The CPU copies of the two stacks; they count only while trusted.
    CMatrixStack projection;
    CMatrixStack modelView;
};

State g_state;
void (*g_listener)(CRenderState::Change) = nullptr;
// The context that lives now (0: none), and the last number given to one.
unsigned int g_context = 0;
unsigned int g_contextsCreated = 0;

int CapabilitySlot(GLenum capability) {
    for (int i = 0; i < kCapabilityCount; ++i) {
        if (kCapabilities[i] == capability) {
            return i;
        }
    }
    return -1;
}

template <typename T>
void Remember(Known<T>& slot, const T& value) {
    slot.known = g_state.trusted;
    slot.value = value;
}

void ForgetAll() {
    for (auto& slot : g_state.enabled) {
        slot.known = false;
    }
    g_state.blend.known = false;
    g_state.matrixMode.known = false;
    g_state.viewport.known = false;
    g_state.color.known = false;
    g_state.fragmentOpsAtDefault.known = false;
    g_state.projection.ForgetAll();
    g_state.modelView.ForgetAll();
}

void Announce(CRenderState::Change change) {
    if (g_listener != nullptr) {
        g_listener(change);
    }
}

// The copy a matrix call of the engine's changes, or null where the copy does not count (a 3D
// window, or a matrix mode the engine does not know, after which both are forgotten).
CMatrixStack* CurrentStack() {
    if (!g_state.trusted || !g_state.matrixMode.known) {
        g_state.projection.ForgetAll();
        g_state.modelView.ForgetAll();
        return nullptr;
    }
    return g_state.matrixMode.value == GL_PROJECTION ? &g_state.projection : &g_state.modelView;
}

// After a matrix call the copy does not follow (a rotation, a perspective, a look-at).
void ForgetCurrentTop() {
    if (CMatrixStack* stack = CurrentStack()) {
        stack->Forget();
    }
}

}  // namespace

void CRenderState::SetListener(void (*listener)(Change change)) {
    g_listener = listener;
}

void CRenderState::ContextCreated(int width, int height, bool mode2D) {
    g_state = State();
    g_context = ++g_contextsCreated;
    g_state.trusted = mode2D;
    // What every new context starts with.
    Remember(g_state.viewport, Viewport{{0, 0, width, height}});
    Remember(g_state.color, Color{{1.0f, 1.0f, 1.0f, 1.0f}});
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    // The bits never change for the context, so even a 3D window reads them only once.
    g_state.depthBits.known = true;
    g_state.depthBits.value = bits;
}

void CRenderState::ContextLost() {
    g_state = State();
    g_context = 0;
}

unsigned int CRenderState::Context() {
    return g_context;
}

void CRenderState::MarkStale() {
    ForgetAll();
}

bool CRenderState::Remembers() {
    return g_state.trusted;
}

bool CRenderState::IsEnabled(unsigned int capability) {
    int slot = CapabilitySlot(capability);
    if (slot >= 0 && g_state.enabled[slot].known) {
        return g_state.enabled[slot].value;
    }
    return glIsEnabled(capability) == GL_TRUE;
}

void CRenderState::SetEnabled(unsigned int capability, bool on, bool force) {
    int slot = CapabilitySlot(capability);
    if (!force && slot >= 0 && g_state.enabled[slot].known && g_state.enabled[slot].value == on) {
        return;
    }
    Announce(kSwitches);
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
    if (slot >= 0) {
        Remember(g_state.enabled[slot], on);
    }
}

void CRenderState::GetBlendFunc(int* source, int* destination) {
    if (g_state.blend.known) {
        *source = g_state.blend.value.source;
        *destination = g_state.blend.value.destination;
        return;
    }
    GLint values[2] = {GL_ONE, GL_ZERO};
    glGetIntegerv(GL_BLEND_SRC, &values[0]);
    glGetIntegerv(GL_BLEND_DST, &values[1]);
    *source = values[0];
    *destination = values[1];
}

void CRenderState::SetBlendFunc(int source, int destination, bool force) {
    const Known<BlendFunc>& blend = g_state.blend;
    if (!force && blend.known && blend.value.source == source &&
        blend.value.destination == destination) {
        return;
    }
    Announce(kSwitches);
    glBlendFunc(static_cast<GLenum>(source), static_cast<GLenum>(destination));
    Remember(g_state.blend, BlendFunc{source, destination});
}

bool CRenderState::BlendKeepsOpaque() {
    const Known<bool>& on = g_state.enabled[CapabilitySlot(GL_BLEND)];
    const Known<BlendFunc>& blend = g_state.blend;
    return g_state.trusted && on.known && on.value && blend.known &&
           (blend.value.source == GL_SRC_ALPHA || blend.value.source == GL_ONE) &&
           (blend.value.destination == GL_ONE_MINUS_SRC_ALPHA ||
            blend.value.destination == GL_ZERO);
}

void CRenderState::LearnFragmentOps() {
    if (g_state.trusted && !g_state.fragmentOpsAtDefault.known) {
        Remember(g_state.fragmentOpsAtDefault, CPlatform::CanSkipTransparentFragments());
    }
}

bool CRenderState::TransparentLeavesPixels() {
    const Known<bool>& on = g_state.enabled[CapabilitySlot(GL_BLEND)];
    const Known<bool>& depth = g_state.enabled[CapabilitySlot(GL_DEPTH_TEST)];
    const Known<BlendFunc>& blend = g_state.blend;
    const Known<bool>& others = g_state.fragmentOpsAtDefault;
    return g_state.trusted && others.known && others.value && on.known && on.value && blend.known &&
           blend.value.source == GL_SRC_ALPHA &&
           (blend.value.destination == GL_ONE_MINUS_SRC_ALPHA ||
            blend.value.destination == GL_ONE) &&
           (g_state.depthBits.value == 0 || (depth.known && !depth.value));
}

int CRenderState::GetMatrixMode() {
    if (g_state.matrixMode.known) {
        return g_state.matrixMode.value;
    }
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
}

void CRenderState::SetMatrixMode(int mode, bool force) {
    if (!force && g_state.matrixMode.known && g_state.matrixMode.value == mode) {
        return;
    }
    glMatrixMode(static_cast<GLenum>(mode));
    Remember(g_state.matrixMode, mode);
}

void CRenderState::GetViewport(int viewport[4]) {
    if (g_state.viewport.known) {
        std::copy(g_state.viewport.value.box, g_state.viewport.value.box + 4, viewport);
        return;
    }
    glGetIntegerv(GL_VIEWPORT, viewport);
}

void CRenderState::SetViewport(int x, int y, int width, int height) {
    Announce(kSwitches);
    glViewport(x, y, width, height);
    Remember(g_state.viewport, Viewport{{x, y, width, height}});
}

void CRenderState::GetColor(float rgba[4]) {
    if (g_state.color.known) {
        std::copy(g_state.color.value.rgba, g_state.color.value.rgba + 4, rgba);
        return;
    }
    glGetFloatv(GL_CURRENT_COLOR, rgba);
}

void CRenderState::SetColor(const float rgba[4]) {
    glColor4fv(rgba);
    ColorSent(rgba);
}

void CRenderState::ColorSent(const float rgba[4]) {
    Remember(g_state.color, Color{{rgba[0], rgba[1], rgba[2], rgba[3]}});
}

int CRenderState::DepthBits() {
    if (g_state.depthBits.known) {
        return g_state.depthBits.value;
    }
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    return bits;
}

void CRenderState::LoadIdentity() {
    Announce(kMatrices);
    glLoadIdentity();
    if (CMatrixStack* stack = CurrentStack()) {
        stack->LoadIdentity();
    }
}

void CRenderState::Translate(float x, float y, float z) {
    Announce(kMatrices);
    glTranslatef(x, y, z);
    if (CMatrixStack* stack = CurrentStack()) {
        stack->Translate(x, y, z);
    }
}

void CRenderState::Rotate(float degrees, float x, float y, float z) {
    Announce(kMatrices);
    glRotatef(degrees, x, y, z);
    ForgetCurrentTop();
}

void CRenderState::Ortho(double left, double right, double bottom, double top, double zNear,
                         double zFar) {
    Announce(kMatrices);
    glOrtho(left, right, bottom, top, zNear, zFar);
    if (CMatrixStack* stack = CurrentStack()) {
        stack->Ortho(left, right, bottom, top, zNear, zFar);
    }
}

void CRenderState::Perspective(double fovY, double aspect, double zNear, double zFar) {
    Announce(kMatrices);
    gluPerspective(fovY, aspect, zNear, zFar);
    ForgetCurrentTop();
}

void CRenderState::LookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY,
                          double centerZ, double upX, double upY, double upZ) {
    Announce(kMatrices);
    gluLookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ);
    ForgetCurrentTop();
}

void CRenderState::PushMatrix() {
    // The top stays the same: queued quads need not go first.
    glPushMatrix();
    if (CMatrixStack* stack = CurrentStack()) {
        stack->Push();
    }
}

void CRenderState::PopMatrix() {
    Announce(kMatrices);
    glPopMatrix();
    if (CMatrixStack* stack = CurrentStack()) {
        stack->Pop();
    }
}

void CRenderState::HandMatricesBack() {
    g_state.projection.ForgetAll();
    g_state.modelView.ForgetAll();
}

bool CRenderState::KnownMatrices(const float** projection, const float** modelView) {
    if (!g_state.trusted || !g_state.projection.Known() || !g_state.modelView.Known()) {
        return false;
    }
    *projection = g_state.projection.Top();
    *modelView = g_state.modelView.Top();
    return true;
}

bool CRenderState::PixelMatricesInForce(int width, int height) {
    const float* projection = nullptr;
    const float* modelView = nullptr;
    if (KnownMatrices(&projection, &modelView)) {
        return CMatrixStack::IsPixelProjection(projection, width, height) &&
               CMatrixStack::IsIdentity(modelView);
    }
    // Where the engine knows the state but not the matrices, a print simply uses its own,
    // which costs no question to the driver. A 3D scene's matrices are looked at.
    if (g_state.trusted) {
        return false;
    }
    GLfloat asked[2][16];
    glGetFloatv(GL_PROJECTION_MATRIX, asked[0]);
    glGetFloatv(GL_MODELVIEW_MATRIX, asked[1]);
    return CMatrixStack::IsPixelProjection(asked[0], width, height) &&
           CMatrixStack::IsIdentity(asked[1]);
}

void CRenderState::BindTexture(unsigned int texture) {
    Announce(kTexture);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void CRenderState::ActiveTexture(int unit) {
    Announce(kTexture);
    glActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
}

void CRenderState::DeleteTexture(unsigned int texture) {
    Announce(kTexture);
    glDeleteTextures(1, &texture);
}
