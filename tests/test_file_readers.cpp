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
#include <vector>

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

// Opens the writing end of a pipe that a reader is stuck opening, once it has waited two
// seconds, and counts how often it had to.
class Unblocker {
public:
    explicit Unblocker(const std::string& pipe)
        : thread_([this, pipe] {
              auto start = std::chrono::steady_clock::now();
              while (!done_) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  int writer = std::chrono::steady_clock::now() - start > std::chrono::seconds(2)
                                   ? open(pipe.c_str(), O_WRONLY | O_NONBLOCK)
                                   : -1;
                  if (writer >= 0) {
                      close(writer);
                      ++freed_;
                  }
              }
          }) {}
    int Finish() {
        done_ = true;
        thread_.join();
        return freed_;
    }

private:
    std::atomic<bool> done_{false};
    std::atomic<int> freed_{0};
    std::thread thread_;
};

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
    const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> readers = {
        {"shader.vert",
         [](const std::string& p) { delete[] CShaderProgram::ReadSource(p.c_str()); }},
        {"picture.tga", [](const std::string& p) { CTgaImage().Load(p.c_str()); }},
        {"sprite.png", [](const std::string& p) { CSprite sprite(p); }},
        {"picture.bmp",
         [](const std::string& p) { g_pUtils->FreeBMP(g_pUtils->LoadBMP(p.c_str())); }},
        {"sound.wav", [](const std::string& p) { CSound sound(p); }},
        {"music.ogg", [](const std::string& p) { CMusic music(p); }}};
    const std::string refused = ": not a regular file\n";
    const std::string expected[] = {"Cannot read ",     "Cannot read ", "Cannot read ",
                                    " Failed loading ", "Sound ",       "Music "};
    for (size_t i = 0; i < readers.size(); ++i) {
        std::string pipe = g_pipeFolder + "/" + readers[i].first;
        SCOPED_TRACE(pipe);
        ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
        StreamCapture out;
        StreamCapture err(std::cerr);
        Unblocker unblocker(pipe);
        readers[i].second(pipe);
        EXPECT_EQ(0, unblocker.Finish()) << "the reader waited for a writer";
        EXPECT_NE(std::string::npos, err.Text().find(expected[i] + pipe)) << err.Text();
        EXPECT_NE(std::string::npos, err.Text().find(refused)) << err.Text();
    }
    Shell("rm -rf '" + g_pipeFolder + "'");
    g_pipeFolder.clear();
}
