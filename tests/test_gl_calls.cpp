// What a frame sends to the driver, counted at the entry points themselves: the engine's core
// OpenGL calls are wrapped at link time (see tests/CMakeLists.txt), its extension calls through
// GLEW's pointers. A steady frame asks the driver nothing and draws once per texture.
#include <GL/glew.h>

#include <functional>

#include "demo/Camera2DDemo.h"
#include "examples/gui_demo/GuiDemo.h"
#include "core/CEngine.h"
#include "render/CQuadBatch.h"
#include "support/TestSupport.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"

using orvane_test::DrainEvents;
using orvane_test::g_testTicks;
using orvane_test::StreamCapture;

namespace {

struct Counts {
    int calls = 0;
    int draws = 0;
    int queries = 0;
    int unblended = 0;  // draws made with blending off
    int skipping = 0;   // draws that drop pixels of alpha 0 (the alpha test on)
};
Counts g_counts;

}  // namespace

// Each wrapped entry point counts itself and then calls the driver's.
#define ORV_COUNTED(kind, ret, name, params, args) \
    extern "C" ret __real_##name params;           \
    extern "C" ret __wrap_##name params {          \
        ++g_counts.calls;                          \
        kind;                                      \
        return __real_##name args;                 \
    }
#define ORV_CALL(ret, name, params, args) ORV_COUNTED((void)0, ret, name, params, args)
#define ORV_DRAW(ret, name, params, args)                                              \
    ORV_COUNTED(++g_counts.draws; g_counts.unblended += !__real_glIsEnabled(GL_BLEND); \
                g_counts.skipping += __real_glIsEnabled(GL_ALPHA_TEST), ret, name, params, args)
#define ORV_QUERY(ret, name, params, args) ORV_COUNTED(++g_counts.queries, ret, name, params, args)

ORV_QUERY(void, glGetIntegerv, (GLenum n, GLint* v), (n, v))
ORV_QUERY(void, glGetFloatv, (GLenum n, GLfloat* v), (n, v))
ORV_QUERY(void, glGetBooleanv, (GLenum n, GLboolean* v), (n, v))
ORV_QUERY(void, glGetDoublev, (GLenum n, GLdouble* v), (n, v))
ORV_QUERY(GLboolean, glIsEnabled, (GLenum c), (c))
ORV_QUERY(GLenum, glGetError, (), ())
ORV_DRAW(void, glDrawElements, (GLenum m, GLsizei n, GLenum t, const void* i), (m, n, t, i))
ORV_DRAW(void, glDrawArrays, (GLenum m, GLint f, GLsizei n), (m, f, n))
ORV_DRAW(void, glBegin, (GLenum m), (m))
ORV_CALL(void, glEnd, (), ())
ORV_CALL(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
ORV_CALL(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))
ORV_CALL(void, glColor4fv, (const GLfloat* v), (v))
ORV_CALL(void, glBindTexture, (GLenum t, GLuint n), (t, n))
ORV_CALL(void, glBlendFunc, (GLenum s, GLenum d), (s, d))
ORV_CALL(void, glEnable, (GLenum c), (c))
ORV_CALL(void, glDisable, (GLenum c), (c))
ORV_CALL(void, glDepthFunc, (GLenum f), (f))
ORV_CALL(void, glShadeModel, (GLenum m), (m))
ORV_CALL(void, glHint, (GLenum t, GLenum m), (t, m))
ORV_CALL(void, glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
ORV_CALL(void, glClearDepth, (GLdouble d), (d))
ORV_CALL(void, glMatrixMode, (GLenum m), (m))
ORV_CALL(void, glLoadIdentity, (), ())
ORV_CALL(void, glPushMatrix, (), ())
ORV_CALL(void, glPopMatrix, (), ())
ORV_CALL(void, glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),
         (l, r, b, t, n, f))
ORV_CALL(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
ORV_CALL(void, glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z))
ORV_CALL(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))
ORV_CALL(void, glPushClientAttrib, (GLbitfield m), (m))
ORV_CALL(void, glPopClientAttrib, (), ())
ORV_CALL(void, glEnableClientState, (GLenum a), (a))
ORV_CALL(void, glVertexPointer, (GLint n, GLenum t, GLsizei s, const void* p), (n, t, s, p))
ORV_CALL(void, glTexCoordPointer, (GLint n, GLenum t, GLsizei s, const void* p), (n, t, s, p))
ORV_CALL(void, glColorPointer, (GLint n, GLenum t, GLsizei s, const void* p), (n, t, s, p))

namespace {

// The extension entry points the engine reaches through GLEW.
PFNGLUSEPROGRAMOBJECTARBPROC g_useProgram = nullptr;
PFNGLUNIFORM4FARBPROC g_uniform4f = nullptr;
PFNGLACTIVETEXTUREARBPROC g_activeTexture = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC g_clientActiveTexture = nullptr;
PFNGLBINDBUFFERARBPROC g_bindBuffer = nullptr;
PFNGLGETUNIFORMLOCATIONARBPROC g_uniformLocation = nullptr;

void GLAPIENTRY UseProgram(GLhandleARB p) {
    ++g_counts.calls;
    g_useProgram(p);
}
void GLAPIENTRY Uniform4f(GLint l, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    ++g_counts.calls;
    g_uniform4f(l, x, y, z, w);
}
void GLAPIENTRY ActiveTexture(GLenum u) {
    ++g_counts.calls;
    g_activeTexture(u);
}
void GLAPIENTRY ClientActiveTexture(GLenum u) {
    ++g_counts.calls;
    g_clientActiveTexture(u);
}
void GLAPIENTRY BindBuffer(GLenum t, GLuint b) {
    ++g_counts.calls;
    g_bindBuffer(t, b);
}
GLint GLAPIENTRY UniformLocation(GLhandleARB p, const GLcharARB* n) {
    ++g_counts.queries;
    return g_uniformLocation(p, n);
}

class GlCallTest : public orvane_test::AppTest {
protected:
    void TearDown() override {
        if (g_useProgram != nullptr) {
            __glewUseProgramObjectARB = g_useProgram;
            __glewUniform4fARB = g_uniform4f;
            __glewActiveTextureARB = g_activeTexture;
            __glewClientActiveTextureARB = g_clientActiveTexture;
            __glewBindBufferARB = g_bindBuffer;
            __glewGetUniformLocationARB = g_uniformLocation;
            g_useProgram = nullptr;
        }
        AppTest::TearDown();
    }
    // What one frame sent, after a few to settle (the first measures the frame rate, loads...).
    Counts SteadyFrame(const std::function<void()>& frame) {
        StreamCapture quiet;
        for (int i = 0; i < 3; ++i) {
            g_testTicks += 20;
            DrainEvents();
            frame();
        }
        if (g_useProgram == nullptr) {
            SwapInCounters();
        }
        g_testTicks += 20;
        DrainEvents();
        g_counts = Counts();
        CQuadBatch::TakeDrawCount();
        frame();
        return g_counts;
    }
    void SwapInCounters() {
        g_useProgram = __glewUseProgramObjectARB;
        g_uniform4f = __glewUniform4fARB;
        g_activeTexture = __glewActiveTextureARB;
        g_clientActiveTexture = __glewClientActiveTextureARB;
        g_bindBuffer = __glewBindBufferARB;
        g_uniformLocation = __glewGetUniformLocationARB;
        __glewUseProgramObjectARB = UseProgram;
        __glewUniform4fARB = Uniform4f;
        __glewActiveTextureARB = ActiveTexture;
        __glewClientActiveTextureARB = ClientActiveTexture;
        __glewBindBufferARB = BindBuffer;
        __glewGetUniformLocationARB = UniformLocation;
    }
};

}  // namespace

TEST_F(GlCallTest, TheDemoFrameDrawsOncePerPictureAndAsksNothing) {
    Camera2DDemo* demo = Start<Camera2DDemo>();
    Counts frame = SteadyFrame([demo] { ASSERT_TRUE(demo->RunFrame()); });
    // The cursor and the frame rate in the frame step, the two maps, the logo, and the two
    // prints between End2D and Begin2D (which share the matrices they bring there).
    EXPECT_EQ(6, frame.draws);
    EXPECT_EQ(6ul, CQuadBatch::TakeDrawCount());
    EXPECT_EQ(0, frame.queries);
    // The two maps have no alpha channel: only they skip blending.
    EXPECT_EQ(2, frame.unblended);
    // The others leave their transparent pixels out.
    EXPECT_EQ(4, frame.skipping);
    // No call per quad or glyph: the frame's 60 quads once took 11 calls each.
    EXPECT_LT(frame.calls, 200);
}

TEST_F(GlCallTest, TheGuiExampleAsksNothingInASteadyFrame) {
    GuiDemo* gui = Start<GuiDemo>();
    Counts frame = SteadyFrame([gui] { gui->RenderFrame(); });
    EXPECT_EQ(0, frame.queries);
    EXPECT_GT(frame.draws, 0);
}

// The demo with a scene of its own after the frame step.
class SpriteScene : public Camera2DDemo {
public:
    void FrameStep() { m_pEngine->Update(); }
};

TEST_F(GlCallTest, ASpriteSceneDrawsOncePerChangeOfPictureWhenTheProgramSwaps) {
    SpriteScene* app = Start<SpriteScene>();
    CSprite red("tests/data/sprites/quadrants_rgb.png");
    CSprite grey("tests/data/sprites/grey.png");
    unsigned long drawsBeforeSwap = 0;
    // Drawn after the frame step, as most programs draw, and shown by the program's own swap.
    auto scene = [&](int sprites) {
        app->FrameStep();
        CQuadBatch::TakeDrawCount();
        for (int i = 0; i < sprites; ++i) {
            (i < sprites / 2 ? red : grey)
                .Draw(i % 100 * 8.0f, i / 100 * 8.0f, 0.1f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        }
        drawsBeforeSwap = CQuadBatch::TakeDrawCount();
        SDL_GL_SwapBuffers();
    };
    Counts few = SteadyFrame([&] { scene(10); });
    Counts many = SteadyFrame([&] { scene(5000); });
    EXPECT_EQ(1ul, drawsBeforeSwap);
    EXPECT_EQ(1ul, CQuadBatch::TakeDrawCount());
    // The frame step's cursor and frame rate, then the two pictures.
    EXPECT_EQ(4, few.draws);
    EXPECT_EQ(4, many.draws);
    EXPECT_EQ(few.calls, many.calls);
    EXPECT_EQ(0, many.queries);
}

TEST_F(GlCallTest, AScreenOfPrintsAfterTheFrameStepIsOneDraw) {
    SpriteScene* app = Start<SpriteScene>();
    CFont* font = g_pFontManager->GetFont(1);
    Counts frame = SteadyFrame([&] {
        app->FrameStep();
        for (int line = 0; line < 60; ++line) {
            font->Print(0, line * 12, 0, "line %d of a screen of text", line);
        }
        SDL_GL_SwapBuffers();
    });
    // The frame step's cursor and frame rate, then the 60 lines.
    EXPECT_EQ(3, frame.draws);
    EXPECT_EQ(3, frame.skipping);
    EXPECT_EQ(0, frame.queries);
}
