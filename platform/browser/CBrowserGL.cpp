// CBrowserGL: the OpenGL entry points the browser build supplies itself, over emscripten's
// emulation of fixed-function OpenGL on WebGL 1.
#include "platform/browser/CBrowserGL.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "platform/browser/CTextureLevels.h"

// The emulation's own versions of the entry points defined below, and of those it has and the
// engine needs to reach past them, under the names emscripten gives them for programs that
// define their own. Going through these rather than the emulation's JavaScript objects keeps
// the engine working when a new emscripten release moves its state around.
extern "C" {
void emscripten_glBegin(GLenum mode);
void emscripten_glEnd();
void emscripten_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void emscripten_glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glTexCoord2f(GLfloat s, GLfloat t);
void emscripten_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
GLboolean emscripten_glIsEnabled(GLenum cap);
void emscripten_glGetIntegerv(GLenum name, GLint* values);
void emscripten_glGetFloatv(GLenum name, GLfloat* values);
void emscripten_glHint(GLenum target, GLenum mode);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glLightfv(GLenum light, GLenum name, const GLfloat* values);
void emscripten_glLightModelf(GLenum name, GLfloat value);
void emscripten_glMaterialfv(GLenum face, GLenum name, const GLfloat* values);
}

namespace {

// ---- Light state --------------------------------------------------------------------------

struct LightState {
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    // Eye coordinates, as OpenGL keeps them.
    float position[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    float spotDirection[3] = {0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float spotCosCutoff = -1.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

// The shaders only read light 0; the emulation keeps every light's colours and position for
// its own fixed-function lighting.
LightState g_light0;
float g_lightModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};

bool g_colorMaterial = false;
GLenum g_colorMaterialMode = GL_AMBIENT_AND_DIFFUSE;

// Texturing per unit, which WebGL knows nothing of and the emulation keeps to itself.
bool g_texture2D[CTextureLevels::kTextureUnits] = {};

GLint g_savedUnpackAlignment = 4;

// The shaders' stand-ins for OpenGL's light source 0 and light model, and where each member of
// light 0 lives (float count 1, 3 or 4).
const char* const kLightDeclarations =
    "struct orv_LightSourceParameters { vec4 ambient; vec4 diffuse; vec4 specular; "
    "vec4 position; vec3 spotDirection; float spotExponent; float spotCutoff; "
    "float spotCosCutoff; float constantAttenuation; float linearAttenuation; "
    "float quadraticAttenuation; };\n"
    "uniform orv_LightSourceParameters orv_LightSource0;\n"
    "struct orv_LightModelParameters { vec4 ambient; };\n"
    "uniform orv_LightModelParameters orv_LightModel;\n";

// OpenGL's normal matrix, the inverse transpose of the model-view's upper left 3 x 3, which
// only equals that 3 x 3 while the model-view has no non-uniform scale. GLSL ES 1.0 has no
// inverse, but the inverse transpose is the matrix of cofactors (the columns' cross products)
// over the determinant. The emulation turns gl_ModelViewMatrix into a uniform of its own, so
// this follows every draw's model-view with nothing to set.
const char* const kNormalMatrixFunction =
    "mat3 orv_NormalMatrix() {\n"
    "    vec3 a = gl_ModelViewMatrix[0].xyz;\n"
    "    vec3 b = gl_ModelViewMatrix[1].xyz;\n"
    "    vec3 c = gl_ModelViewMatrix[2].xyz;\n"
    "    vec3 bc = cross(b, c);\n"
    "    return mat3(bc, cross(c, a), cross(a, b)) / dot(a, bc);\n"
    "}\n";

struct LightMember {
    const char* uniform;
    const float* values;
    int size;
};

const LightMember kLightMembers[] = {
    {"orv_LightSource0.ambient", g_light0.ambient, 4},
    {"orv_LightSource0.diffuse", g_light0.diffuse, 4},
    {"orv_LightSource0.specular", g_light0.specular, 4},
    {"orv_LightSource0.position", g_light0.position, 4},
    {"orv_LightSource0.spotDirection", g_light0.spotDirection, 3},
    {"orv_LightSource0.spotExponent", &g_light0.spotExponent, 1},
    {"orv_LightSource0.spotCutoff", &g_light0.spotCutoff, 1},
    {"orv_LightSource0.spotCosCutoff", &g_light0.spotCosCutoff, 1},
    {"orv_LightSource0.constantAttenuation", &g_light0.constantAttenuation, 1},
    {"orv_LightSource0.linearAttenuation", &g_light0.linearAttenuation, 1},
    {"orv_LightSource0.quadraticAttenuation", &g_light0.quadraticAttenuation, 1},
    {"orv_LightModel.ambient", g_lightModelAmbient, 4},
};
const int kLightMemberCount = sizeof(kLightMembers) / sizeof(kLightMembers[0]);

// Per program, the location of each member (-1 where the program does not use it).
std::map<unsigned int, std::vector<GLint>> g_lightLocations;

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

// v = M v for OpenGL's column-major M; w = 0 leaves out the translation.
void Transform(const float m[16], float* v, float w) {
    float x = v[0], y = v[1], z = v[2];
    for (int row = 0; row < 3; ++row) {
        v[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row] * w;
    }
}

void Normalize(double v[3]) {
    double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

void Cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// With the colour material on and lighting in use, the current colour is the material.
void ApplyColorMaterial(const float color[4]) {
    if (!g_colorMaterial || emscripten_glIsEnabled(GL_LIGHTING) == GL_FALSE) {
        return;
    }
    if (g_colorMaterialMode == GL_AMBIENT || g_colorMaterialMode == GL_AMBIENT_AND_DIFFUSE) {
        emscripten_glMaterialfv(GL_FRONT, GL_AMBIENT, color);
    }
    if (g_colorMaterialMode == GL_DIFFUSE || g_colorMaterialMode == GL_AMBIENT_AND_DIFFUSE) {
        emscripten_glMaterialfv(GL_FRONT, GL_DIFFUSE, color);
    }
}

// ---- Immediate mode -------------------------------------------------------------------------

struct Vertex {
    float position[3];
    float color[4];
    float normal[3];
    float texCoord[2];
};

struct Immediate {
    bool inside = false;
    GLenum mode = GL_POINTS;
    // Which values the vertices of this glBegin carry beyond the position.
    bool colors = false;
    bool normals = false;
    bool texCoords = false;
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float normal[3] = {0.0f, 0.0f, 1.0f};
    float texCoord[2] = {0.0f, 0.0f};
    std::vector<Vertex> vertices;
};
Immediate g_immediate;

void AddVertex(float x, float y, float z) {
    Immediate& im = g_immediate;
    Vertex v;
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    std::memcpy(v.color, im.color, sizeof(v.color));
    std::memcpy(v.normal, im.normal, sizeof(v.normal));
    std::memcpy(v.texCoord, im.texCoord, sizeof(v.texCoord));
    im.vertices.push_back(v);
}

// Hands vertices [first, last) to the emulation, each with the same values in the same order.
void Replay(size_t first, size_t last) {
    const Immediate& im = g_immediate;
    emscripten_glBegin(im.mode);
    for (size_t i = first; i < last; ++i) {
        const Vertex& v = im.vertices[i];
        if (im.colors) {
            emscripten_glColor4f(v.color[0], v.color[1], v.color[2], v.color[3]);
        }
        if (im.normals) {
            emscripten_glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
        }
        if (im.texCoords) {
            emscripten_glTexCoord2f(v.texCoord[0], v.texCoord[1]);
        }
        emscripten_glVertex3f(v.position[0], v.position[1], v.position[2]);
    }
    emscripten_glEnd();
}

// Signed distance from the near clipping plane in clip coordinates (z + w), for M v.
float NearDistance(const float m[16], const float v[3]) {
    float z = m[2] * v[0] + m[6] * v[1] + m[10] * v[2] + m[14];
    float w = m[3] * v[0] + m[7] * v[1] + m[11] * v[2] + m[15];
    return z + w;
}

void Multiply(const float a[16], const float b[16], float out[16]) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a[4 * k + row] * b[4 * column + k];
            }
            out[4 * column + row] = sum;
        }
    }
}

// WebGL under software rendering drops a line that reaches behind the eye instead of clipping
// it, so lines are cut at the near plane here; clip coordinates are linear in the object's, so
// the cut point and its values are the same mix of the two ends.
void ClipLinesAtNearPlane() {
    std::vector<Vertex>& vertices = g_immediate.vertices;
    float projection[16];
    float modelView[16];
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    Multiply(projection, modelView, m);
    std::vector<Vertex> kept;
    for (size_t i = 0; i + 1 < vertices.size(); i += 2) {
        Vertex a = vertices[i];
        Vertex b = vertices[i + 1];
        float da = NearDistance(m, a.position);
        float db = NearDistance(m, b.position);
        if (da < 0.0f && db < 0.0f) {
            continue;
        }
        if (da < 0.0f || db < 0.0f) {
            float t = da / (da - db);
            Vertex cut;
            float* from = reinterpret_cast<float*>(&a);
            float* to = reinterpret_cast<float*>(&b);
            float* mix = reinterpret_cast<float*>(&cut);
            for (size_t k = 0; k < sizeof(Vertex) / sizeof(float); ++k) {
                mix[k] = from[k] + t * (to[k] - from[k]);
            }
            (da < 0.0f ? a : b) = cut;
        }
        kept.push_back(a);
        kept.push_back(b);
    }
    vertices.swap(kept);
}

size_t VerticesPerPrimitive(GLenum mode) {
    switch (mode) {
        case GL_QUADS:
            return 4;
        case GL_TRIANGLES:
            return 3;
        case GL_LINES:
            return 2;
        case GL_POINTS:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

extern "C" {

// ---- Immediate mode with OpenGL's current values ---------------------------------------------

void glBegin(GLenum mode) {
    Immediate& im = g_immediate;
    im.inside = true;
    im.mode = mode;
    im.colors = false;
    im.normals = false;
    im.texCoords = false;
    im.vertices.clear();
}

void glEnd() {
    Immediate& im = g_immediate;
    im.inside = false;
    if (im.vertices.empty()) {
        return;
    }
    if (im.mode == GL_LINES) {
        ClipLinesAtNearPlane();
    }
    size_t step = VerticesPerPrimitive(im.mode);
    if (im.colors && g_colorMaterial && step > 0) {
        // The emulation's lighting has one material per draw: runs of whole primitives that
        // share a colour are drawn one by one, each with its colour as the material.
        size_t first = 0;
        while (first < im.vertices.size()) {
            size_t last = first + step;
            while (last + step <= im.vertices.size() &&
                   std::memcmp(im.vertices[last].color, im.vertices[first].color,
                               sizeof(float) * 4) == 0) {
                last += step;
            }
            last = last < im.vertices.size() ? last : im.vertices.size();
            ApplyColorMaterial(im.vertices[first].color);
            Replay(first, last);
            first = last;
        }
    } else {
        ApplyColorMaterial(im.color);
        Replay(0, im.vertices.size());
    }
    if (im.colors) {
        // The colour last given stays current after glEnd, for vertex arrays too.
        emscripten_glColor4f(im.color[0], im.color[1], im.color[2], im.color[3]);
    }
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    AddVertex(x, y, z);
}

void glVertex2f(GLfloat x, GLfloat y) {
    AddVertex(x, y, 0.0f);
}

void glVertex2i(GLint x, GLint y) {
    AddVertex(static_cast<float>(x), static_cast<float>(y), 0.0f);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Immediate& im = g_immediate;
    im.color[0] = r;
    im.color[1] = g;
    im.color[2] = b;
    im.color[3] = a;
    if (im.inside) {
        im.colors = true;
    } else {
        emscripten_glColor4f(r, g, b, a);
    }
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    glColor4f(r, g, b, 1.0f);
}

void glColor4fv(const GLfloat* rgba) {
    glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void glColor3fv(const GLfloat* rgb) {
    glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
}

void glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    glColor4f(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}

void glColor3ub(GLubyte r, GLubyte g, GLubyte b) {
    glColor4ub(r, g, b, 255);
}

// WebGL has no current colour to ask for: the one given last is answered from here.
void glGetFloatv(GLenum name, GLfloat* values) {
    if (name == GL_CURRENT_COLOR) {
        std::memcpy(values, g_immediate.color, sizeof(g_immediate.color));
        return;
    }
    emscripten_glGetFloatv(name, values);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    Immediate& im = g_immediate;
    im.normal[0] = x;
    im.normal[1] = y;
    im.normal[2] = z;
    im.normals = im.normals || im.inside;
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    Immediate& im = g_immediate;
    im.texCoord[0] = s;
    im.texCoord[1] = t;
    im.texCoords = im.texCoords || im.inside;
}

// The emulation reads indices from memory as 16-bit only. Only 32-bit indices need to know
// whether they come from a buffer, so other draws ask the driver nothing.
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    ApplyColorMaterial(g_immediate.color);
    GLint elementBuffer = 0;
    if (type == GL_UNSIGNED_INT) {
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    }
    if (type != GL_UNSIGNED_INT || elementBuffer != 0) {
        emscripten_glDrawElements(mode, count, type, indices);
        return;
    }
    const GLuint* wide = static_cast<const GLuint*>(indices);
    std::vector<GLushort> narrow(wide, wide + count);
    emscripten_glDrawElements(mode, count, GL_UNSIGNED_SHORT, narrow.data());
}

// ---- Capabilities and queries -------------------------------------------------------------------

void glEnable(GLenum cap) {
    if (cap == GL_COLOR_MATERIAL) {
        g_colorMaterial = true;
        return;
    }
    if (cap == GL_TEXTURE_2D) {
        g_texture2D[CTextureLevels::ActiveUnit()] = true;
    }
    emscripten_glEnable(cap);
}

void glDisable(GLenum cap) {
    if (cap == GL_COLOR_MATERIAL) {
        g_colorMaterial = false;
        return;
    }
    if (cap == GL_TEXTURE_2D) {
        g_texture2D[CTextureLevels::ActiveUnit()] = false;
    }
    emscripten_glDisable(cap);
}

GLboolean glIsEnabled(GLenum cap) {
    if (cap == GL_COLOR_MATERIAL) {
        return g_colorMaterial ? GL_TRUE : GL_FALSE;
    }
    if (cap == GL_TEXTURE_2D) {
        return g_texture2D[CTextureLevels::ActiveUnit()] ? GL_TRUE : GL_FALSE;
    }
    return emscripten_glIsEnabled(cap);
}

// OpenGL 1.1's names for the blend factors, which WebGL only knows by their later names.
void glGetIntegerv(GLenum name, GLint* values) {
    if (name == GL_BLEND_SRC) {
        name = GL_BLEND_SRC_RGB;
    } else if (name == GL_BLEND_DST) {
        name = GL_BLEND_DST_RGB;
    }
    emscripten_glGetIntegerv(name, values);
}

// WebGL always interpolates colours; there is nothing to switch.
void glShadeModel(GLenum /*mode*/) {}

// WebGL 1 knows one hint, the mipmaps'. Fixed-function quality hints (perspective correction,
// smoothing, fog) have nothing to act on there, and sending them would set an error each time.
void glHint(GLenum target, GLenum mode) {
    if (target == GL_GENERATE_MIPMAP_HINT) {
        emscripten_glHint(target, mode);
    }
}

// WebGL 1 reads pixels only as tightly packed rows from the start, which is what the desktop's
// row length and skip settings say at 0; those are taken as said. Any other value goes through,
// so that WebGL reports that it cannot read such a layout.
void glPixelStorei(GLenum name, GLint value) {
    const bool layout = name == GL_UNPACK_ROW_LENGTH || name == GL_UNPACK_SKIP_ROWS ||
                        name == GL_UNPACK_SKIP_PIXELS || name == GL_PACK_ROW_LENGTH ||
                        name == GL_PACK_SKIP_ROWS || name == GL_PACK_SKIP_PIXELS;
    if (!layout || value != 0) {
        emscripten_glPixelStorei(name, value);
    }
}

// Of the pixel-store state only the unpack alignment exists in WebGL 1.
void glPushClientAttrib(GLbitfield /*mask*/) {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &g_savedUnpackAlignment);
}

void glPopClientAttrib() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, g_savedUnpackAlignment);
}

// ---- Lights -------------------------------------------------------------------------------------

// The emulation lights with the colours and the position (which it takes to eye coordinates
// itself) and knows nothing of spots; the shaders' light 0 gets all of them.
void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (name == GL_AMBIENT || name == GL_DIFFUSE || name == GL_SPECULAR || name == GL_POSITION) {
        emscripten_glLightfv(light, name, values);
    }
    if (light != GL_LIGHT0) {
        return;
    }
    LightState& state = g_light0;
    float modelView[16];
    switch (name) {
        case GL_AMBIENT:
            std::memcpy(state.ambient, values, sizeof(state.ambient));
            break;
        case GL_DIFFUSE:
            std::memcpy(state.diffuse, values, sizeof(state.diffuse));
            break;
        case GL_SPECULAR:
            std::memcpy(state.specular, values, sizeof(state.specular));
            break;
        case GL_POSITION:
            glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
            std::memcpy(state.position, values, sizeof(state.position));
            Transform(modelView, state.position, state.position[3]);
            break;
        case GL_SPOT_DIRECTION:
            glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
            std::memcpy(state.spotDirection, values, sizeof(state.spotDirection));
            Transform(modelView, state.spotDirection, 0.0f);
            break;
        default:
            break;
    }
}

void glLightf(GLenum light, GLenum name, GLfloat value) {
    if (light != GL_LIGHT0) {
        return;
    }
    LightState* state = &g_light0;
    switch (name) {
        case GL_SPOT_EXPONENT:
            state->spotExponent = value;
            break;
        case GL_SPOT_CUTOFF:
            state->spotCutoff = value;
            // OpenGL gives -1 for the 180-degree "no spot" value.
            state->spotCosCutoff =
                value == 180.0f ? -1.0f : std::cos(value * 3.14159265358979f / 180.0f);
            break;
        case GL_CONSTANT_ATTENUATION:
            state->constantAttenuation = value;
            break;
        case GL_LINEAR_ATTENUATION:
            state->linearAttenuation = value;
            break;
        case GL_QUADRATIC_ATTENUATION:
            state->quadraticAttenuation = value;
            break;
        default:
            break;
    }
}

void glLightModeli(GLenum name, GLint value) {
    if (name == GL_LIGHT_MODEL_TWO_SIDE) {
        emscripten_glLightModelf(name, static_cast<GLfloat>(value));
    }
}

// The emulation has one material, for both faces.
void glColorMaterial(GLenum /*face*/, GLenum mode) {
    g_colorMaterialMode = mode;
}

// ---- GLU ----------------------------------------------------------------------------------------

// The emulation's replace the current matrix instead of multiplying it, and its look-at hands
// its arguments over in the wrong order.
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    double f[3] = {centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
    double up[3] = {upX, upY, upZ};
    Normalize(f);
    double s[3];
    Cross(f, up, s);
    Normalize(s);
    double u[3];
    Cross(s, f, u);
    GLfloat m[16] = {};
    for (int i = 0; i < 3; ++i) {
        m[4 * i + 0] = static_cast<GLfloat>(s[i]);
        m[4 * i + 1] = static_cast<GLfloat>(u[i]);
        m[4 * i + 2] = static_cast<GLfloat>(-f[i]);
    }
    m[15] = 1.0f;
    glMultMatrixf(m);
    glTranslated(-eyeX, -eyeY, -eyeZ);
}

void gluPerspective(GLdouble fovY, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    double f = 1.0 / std::tan(fovY * 3.14159265358979323846 / 360.0);
    double depth = zNear - zFar;
    GLfloat m[16] = {};
    m[0] = static_cast<GLfloat>(f / aspect);
    m[5] = static_cast<GLfloat>(f);
    m[10] = static_cast<GLfloat>((zFar + zNear) / depth);
    m[11] = -1.0f;
    m[14] = static_cast<GLfloat>(2.0 * zFar * zNear / depth);
    glMultMatrixf(m);
}

// ---- The ARB names, which the emulation only knows by their OpenGL 2 names -------------------

GLhandleARB glCreateShaderObjectARB(GLenum type) {
    return glCreateShader(type);
}
GLhandleARB glCreateProgramObjectARB() {
    return glCreateProgram();
}
void glShaderSourceARB(GLhandleARB shader, GLsizei count, const GLcharARB** text,
                       const GLint* lengths) {
    glShaderSource(shader, count, text, lengths);
}
void glCompileShaderARB(GLhandleARB shader) {
    glCompileShader(shader);
}
void glAttachObjectARB(GLhandleARB program, GLhandleARB shader) {
    glAttachShader(program, shader);
}
void glLinkProgramARB(GLhandleARB program) {
    glLinkProgram(program);
}
void glUseProgramObjectARB(GLhandleARB program) {
    glUseProgram(program);
}
GLint glGetUniformLocationARB(GLhandleARB program, const GLcharARB* name) {
    return glGetUniformLocation(program, name);
}
void glUniform1iARB(GLint location, GLint value) {
    glUniform1i(location, value);
}
void glUniform1fARB(GLint location, GLfloat value) {
    glUniform1f(location, value);
}
void glUniform2fARB(GLint location, GLfloat x, GLfloat y) {
    glUniform2f(location, x, y);
}
void glUniform3fARB(GLint location, GLfloat x, GLfloat y, GLfloat z) {
    glUniform3f(location, x, y, z);
}
void glUniform4fARB(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    glUniform4f(location, x, y, z, w);
}
void glUniform3fvARB(GLint location, GLsizei count, const GLfloat* values) {
    glUniform3fv(location, count, values);
}
void glUniform4fvARB(GLint location, GLsizei count, const GLfloat* values) {
    glUniform4fv(location, count, values);
}
void glUniform1fvARB(GLint location, GLsizei count, const GLfloat* values) {
    glUniform1fv(location, count, values);
}
void glUniform2fvARB(GLint location, GLsizei count, const GLfloat* values) {
    glUniform2fv(location, count, values);
}
void glUniform1ivARB(GLint location, GLsizei count, const GLint* values) {
    glUniform1iv(location, count, values);
}
void glUniform2ivARB(GLint location, GLsizei count, const GLint* values) {
    glUniform2iv(location, count, values);
}
void glUniform3ivARB(GLint location, GLsizei count, const GLint* values) {
    glUniform3iv(location, count, values);
}
void glUniform4ivARB(GLint location, GLsizei count, const GLint* values) {
    glUniform4iv(location, count, values);
}
void glUniformMatrix2fvARB(GLint location, GLsizei count, GLboolean transpose,
                           const GLfloat* values) {
    glUniformMatrix2fv(location, count, transpose, values);
}
void glUniformMatrix3fvARB(GLint location, GLsizei count, GLboolean transpose,
                           const GLfloat* values) {
    glUniformMatrix3fv(location, count, transpose, values);
}
void glUniformMatrix4fvARB(GLint location, GLsizei count, GLboolean transpose,
                           const GLfloat* values) {
    glUniformMatrix4fv(location, count, transpose, values);
}
// A reloaded program's uniforms and shaders: read, detached.
void glGetActiveUniformARB(GLhandleARB program, GLuint index, GLsizei bufSize, GLsizei* length,
                           GLint* size, GLenum* type, GLcharARB* name) {
    glGetActiveUniform(program, index, bufSize, length, size, type, name);
}
void glGetUniformfvARB(GLhandleARB program, GLint location, GLfloat* values) {
    glGetUniformfv(program, location, values);
}
void glGetUniformivARB(GLhandleARB program, GLint location, GLint* values) {
    glGetUniformiv(program, location, values);
}
void glDetachObjectARB(GLhandleARB program, GLhandleARB shader) {
    glDetachShader(program, shader);
}

}  // extern "C"

std::string CBrowserGL::AdaptShaderSource(const std::string& source) {
    std::string text = source;
    // The emulation puts its own declarations first, and nothing may come before #version.
    size_t version = text.find("#version");
    if (version != std::string::npos) {
        size_t end = text.find('\n', version);
        text.erase(version, (end == std::string::npos ? text.size() : end) - version);
    }
    bool lights = text.find("gl_LightSource[0]") != std::string::npos ||
                  text.find("gl_LightModel") != std::string::npos;
    ReplaceAll(text, "gl_LightSource[0]", "orv_LightSource0");
    ReplaceAll(text, "gl_LightModel", "orv_LightModel");
    bool normals = text.find("gl_NormalMatrix") != std::string::npos;
    ReplaceAll(text, "gl_NormalMatrix", "orv_NormalMatrix()");
    if (normals) {
        text = kNormalMatrixFunction + text;
    }
    if (lights) {
        text = kLightDeclarations + text;
    }
    return text;
}

void CBrowserGL::SetProgramLights(unsigned int program) {
    auto found = g_lightLocations.find(program);
    if (found == g_lightLocations.end()) {
        std::vector<GLint> locations;
        for (const LightMember& member : kLightMembers) {
            locations.push_back(glGetUniformLocation(program, member.uniform));
        }
        found = g_lightLocations.emplace(program, locations).first;
    }
    for (int i = 0; i < kLightMemberCount; ++i) {
        GLint location = found->second[i];
        if (location < 0) {
            continue;
        }
        const LightMember& member = kLightMembers[i];
        if (member.size == 4) {
            glUniform4fv(location, 1, member.values);
        } else if (member.size == 3) {
            glUniform3fv(location, 1, member.values);
        } else {
            glUniform1f(location, *member.values);
        }
    }
}
