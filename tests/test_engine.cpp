// Engine start-up, video set-up, the frame step and shutdown, against real SDL and Mesa.
#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>

#include "audio/CSoundManager.h"
#include "camera/CCamera.h"
#include "camera/CCameraManager.h"
#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "gui/CWindowManager.h"
#include "input/CEventManager.h"
#include "shading/CShaderManager.h"
#include "support/TestSupport.h"
#include "text/CFontManager.h"
#include "textures/CTextureManager.h"
#include "utils/CUtils.h"

using orvane_test::kStartupLog;
using orvane_test::StreamCapture;

namespace {

bool AllGlobalsNull() {
    return !g_pGraphicsCore && !g_pTextureManager && !g_pWindowManager && !g_pEventManager &&
           !g_pUtils && !g_pSoundManager && !g_pShaderManager && !g_pCamera && !g_pCameraManager &&
           !g_pFontManager;
}

}  // namespace

TEST(EngineStartup, WritesTheBannerAndOneLinePerManagerInOrder) {
    StreamCapture capture;
    CEngine* engine = new CEngine();
    EXPECT_EQ(kStartupLog, capture.Text());
    EXPECT_TRUE(g_pGraphicsCore && g_pTextureManager && g_pWindowManager && g_pEventManager &&
                g_pUtils && g_pSoundManager && g_pShaderManager && g_pCamera && g_pCameraManager &&
                g_pFontManager);
    EXPECT_FALSE(engine->IsShowingFPS());
    delete engine;
    EXPECT_TRUE(AllGlobalsNull());
}

TEST(EngineStartup, VideoSetUpLogsTheDriverStringsShadersAndFont) {
    StreamCapture capture;
    CEngine engine;
    capture.Clear();
    engine.SetVideoMode(640, 480, 16, false, true);
    std::string expected =
        std::string("\nDetected Video Card Vendor: ") +
        reinterpret_cast<const char*>(glGetString(GL_VENDOR)) +
        "\nDetected Renderer: " + reinterpret_cast<const char*>(glGetString(GL_RENDERER)) +
        "\nDetected OpenGL version: " + reinterpret_cast<const char*>(glGetString(GL_VERSION)) +
        "\n";
    std::string log = capture.Text();
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(expected, log.substr(0, expected.size()));
    EXPECT_NE(std::string::npos, log.find("Loading Font: Data/Font/font.tga\n"));
    EXPECT_NE(nullptr, g_pFontManager->GetFont(1));
    EXPECT_EQ(10, g_pShaderManager->GetProgramCount());
}

TEST(EngineStartup, ShutdownSkipsAPointerThatIsAlreadyNull) {
    StreamCapture capture;
    CEngine* engine = new CEngine();
    delete g_pUtils;
    g_pUtils = nullptr;
    delete engine;
    EXPECT_TRUE(AllGlobalsNull());
}
