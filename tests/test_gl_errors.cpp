// The demo and every example run in this process for 300 frames each, on a driven clock; after
// every frame, its swap included, OpenGL must have no error to report, and Mesa none to write.
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <functional>
#include <memory>
#include <string>

#include "demo/Camera2DDemo.h"
#include "examples/audio_demo/AudioDemo.h"
#include "examples/gui_demo/GuiDemo.h"
#include "examples/scene3d_demo/Scene3DDemo.h"
#include "support/TestSupport.h"

using orvane_test::DrainEvents;
using orvane_test::g_testTicks;
using orvane_test::StreamCapture;

namespace {

const int kFrames = 300;
// Frames with errors reported one by one before the count.
const int kReported = 3;

// Every error flag OpenGL has set, by name, until it reports none.
std::string PendingErrors() {
    static const struct {
        GLenum code;
        const char* name;
    } kNames[] = {
        {GL_STACK_OVERFLOW, "GL_STACK_OVERFLOW"},       {GL_STACK_UNDERFLOW, "GL_STACK_UNDERFLOW"},
        {GL_INVALID_ENUM, "GL_INVALID_ENUM"},           {GL_INVALID_VALUE, "GL_INVALID_VALUE"},
        {GL_INVALID_OPERATION, "GL_INVALID_OPERATION"}, {GL_OUT_OF_MEMORY, "GL_OUT_OF_MEMORY"}};
    std::string names;
    for (int i = 0; i < 16; ++i) {
        GLenum error = glGetError();
        if (error == GL_NO_ERROR) {
            break;
        }
        std::string name = std::to_string(error);
        for (const auto& known : kNames) {
            if (known.code == error) {
                name = known.name;
            }
        }
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

// Mesa writes every error it raises when MESA_DEBUG is set, one that SDL then takes with its
// own glGetError too. This catches standard error where Mesa writes it, at the descriptor.
class MesaReport {
public:
    MesaReport() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
        std::fflush(stderr);
        dup2(fileno(file_), STDERR_FILENO);
    }
    ~MesaReport() {
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        std::fclose(file_);
    }
    // The first error written so far and how many there were; empty without one.
    std::string Errors() {
        std::fflush(stderr);
        std::rewind(file_);
        std::string first;
        int count = 0;
        char line[1024];
        while (std::fgets(line, sizeof(line), file_) != nullptr) {
            if (std::string(line).find("Mesa: User error") == 0 && count++ == 0) {
                first = line;
            }
        }
        return count == 0 ? "" : first + std::to_string(count) + " in all";
    }

private:
    std::FILE* file_;
    int saved_;
};

class GlErrorTest : public orvane_test::AppTest {
protected:
    // Mesa reads the variable when it first has an error to write.
    void SetUp() override {
        if (std::getenv("MESA_DEBUG") == nullptr) {
            orvane_test::SetEnv("MESA_DEBUG", "1");
        }
        AppTest::SetUp();
    }
    // Starts the application, then runs its frames with an empty event queue, checking the
    // error state after Init and after each frame.
    template <class App>
    void ExpectCleanFrames(const std::function<void(App&)>& frame) {
        App* app = Start<App>();
        EXPECT_EQ("", PendingErrors()) << "after Init";
        StreamCapture quiet;
        MesaReport report;
        int failing = 0;
        for (int i = 1; i <= kFrames; ++i) {
            g_testTicks += 20;
            DrainEvents();
            frame(*app);
            std::string errors = PendingErrors();
            if (!errors.empty() && ++failing <= kReported) {
                ADD_FAILURE() << "frame " << i << ": " << errors;
            }
        }
        EXPECT_EQ(0, failing) << "frames of " << kFrames << " that left an error";
        EXPECT_EQ("", report.Errors());
    }
};

}  // namespace

TEST_F(GlErrorTest, CameraDemo) {
    ExpectCleanFrames<Camera2DDemo>([](Camera2DDemo& demo) { ASSERT_TRUE(demo.RunFrame()); });
}

TEST_F(GlErrorTest, GuiExample) {
    ExpectCleanFrames<GuiDemo>([](GuiDemo& demo) { demo.RenderFrame(); });
}

TEST_F(GlErrorTest, Scene3DExample) {
    ExpectCleanFrames<Scene3DDemo>([](Scene3DDemo& demo) { demo.RenderFrame(); });
}

TEST_F(GlErrorTest, AudioExample) {
    ExpectCleanFrames<AudioDemo>([](AudioDemo& demo) { demo.RenderFrame(); });
}
