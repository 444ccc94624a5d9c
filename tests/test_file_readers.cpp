// Every file reader against a pipe swapped in between a check of the path and its opening:
// the check is made to see a regular file (stat below answers for the pipes), and a reader
// that opens the path by name afterwards waits for a writer for ever.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "audio/CMusic.h"
#include "audio/CSound.h"
#include "shading/CShaderProgram.h"
#include "support/TestSupport.h"
#include "textures/CSprite.h"
#include "textures/CTgaImage.h"
#include "utils/CUtils.h"

using orvane_test::EngineTest;
using orvane_test::Shell;
using orvane_test::StreamCapture;

namespace {

std::string g_pipeFolder;

// Waits for reader(pipe); a reader stuck opening the pipe for two seconds is set free by opening
// the writing end. Returns whether that was needed.
bool WaitedForAWriter(const std::string& pipe,
                      const std::function<void(const std::string&)>& reader) {
    std::atomic<bool> done{false};
    std::atomic<bool> freed{false};
    std::thread unblocker([&] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            int writer = std::chrono::steady_clock::now() > deadline
                             ? open(pipe.c_str(), O_WRONLY | O_NONBLOCK)
                             : -1;
            if (writer >= 0) {
                close(writer);
                freed = true;
            }
        }
    });
    reader(pipe);
    done = true;
    unblocker.join();
    return freed;
}

}  // namespace

// The pipes pass for regular files here, as a file swapped after its check would.
extern "C" int stat(const char* path, struct stat* info) noexcept {
    int result = static_cast<int>(syscall(SYS_newfstatat, AT_FDCWD, path, info, 0));
    if (result == 0 && !g_pipeFolder.empty() && std::string(path).rfind(g_pipeFolder, 0) == 0) {
        info->st_mode = (info->st_mode & ~S_IFMT) | S_IFREG;
    }
    return result;
}

class FileReaderTest : public EngineTest {};

TEST_F(FileReaderTest, APipeSwappedInAfterTheCheckIsRefusedWithoutWaiting) {
    char pattern[] = "/tmp/orvane_pipes_XXXXXX";
    g_pipeFolder = mkdtemp(pattern);
    const struct {
        const char* file;
        const char* lineStart;
        std::function<void(const std::string&)> read;
    } readers[] = {
        {"shader.vert", "Cannot read ",
         [](const std::string& p) { delete[] CShaderProgram::ReadSource(p.c_str()); }},
        {"picture.tga", "Cannot read ", [](const std::string& p) { CTgaImage().Load(p.c_str()); }},
        {"sprite.png", "Cannot read ", [](const std::string& p) { CSprite sprite(p); }},
        {"picture.bmp", " Failed loading ",
         [](const std::string& p) { g_pUtils->FreeBMP(g_pUtils->LoadBMP(p.c_str())); }},
        {"sound.wav", "Sound ", [](const std::string& p) { CSound sound(p); }},
        {"music.ogg", "Music ", [](const std::string& p) { CMusic music(p); }}};
    for (const auto& reader : readers) {
        std::string pipe = g_pipeFolder + "/" + reader.file;
        SCOPED_TRACE(pipe);
        ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
        StreamCapture out;
        StreamCapture err(std::cerr);
        EXPECT_FALSE(WaitedForAWriter(pipe, reader.read));
        EXPECT_NE(std::string::npos, err.Text().find(reader.lineStart + pipe)) << err.Text();
        EXPECT_NE(std::string::npos, err.Text().find(": not a regular file\n")) << err.Text();
    }
    Shell("rm -rf '" + g_pipeFolder + "'");
    g_pipeFolder.clear();
}

// A file that cannot be opened is named with the reason; a missing one keeps SDL's own words.
TEST_F(FileReaderTest, AnOpenFailureSaysWhy) {
    const std::string inFile = "tests/data/sprites/grey.png/inside.png";
    StreamCapture out;
    CSprite notInAFolder(inFile);
    CSprite missing("tests/data/sprites/none.png");
    EXPECT_EQ("Loading Texture: " + inFile + "\nFailed to load the image: " + inFile +
                  ", Error: Couldn't open " + inFile +
                  ": Not a directory\nLoading Texture: tests/data/sprites/none.png\nFailed to "
                  "load the image: tests/data/sprites/none.png, Error: Couldn't open "
                  "tests/data/sprites/none.png\n",
              out.Text());
}
