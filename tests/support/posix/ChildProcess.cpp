// Programs of this build tree run end to end: fork, exec and pipes.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>

#include "platform/CPlatform.h"
#include "support/TestSupport.h"

namespace orvane_test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, const std::string& workDir) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        return;
    }
    // sdl12-compat names a driver in this process's environment itself; the program chooses as
    // if the user started it.
    const bool userDriver = !CPlatform::VideoDriverNamed().empty();
    pid_ = fork();
    if (pid_ == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        close(outPipe[0]);
        close(outPipe[1]);
        close(errPipe[0]);
        close(errPipe[1]);
        if (chdir(workDir.c_str()) != 0) {
            _exit(126);
        }
        if (!userDriver) {
            unsetenv("SDL_VIDEODRIVER");
        }
        for (const std::string& entry : env) {
            size_t eq = entry.find('=');
            std::string name = entry.substr(0, eq);
            std::string value = eq == std::string::npos ? "" : entry.substr(eq + 1);
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
    fcntl(outFd_, F_SETFL, O_NONBLOCK);
    fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) {
        close(outFd_);
    }
    if (errFd_ >= 0) {
        close(errFd_);
    }
}

void ChildProcess::Pump(int timeoutMs) {
    std::array<pollfd, 2> fds = {pollfd{outFd_, POLLIN, 0}, pollfd{errFd_, POLLIN, 0}};
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
        return;
    }
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0) {
            continue;
        }
        for (;;) {
            ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
            if (n <= 0) {
                break;
            }
            (i == 0 ? result_.out : result_.err).append(buffer, static_cast<size_t>(n));
        }
    }
}

bool ChildProcess::WaitForExit(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!exited_) {
        Pump(10);
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            exited_ = true;
            result_.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            result_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            // Collect what the pipes still hold.
            for (int i = 0; i < 5; ++i) {
                Pump(10);
            }
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

bool ChildProcess::WaitForOutput(const std::string& text, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (result_.out.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        Pump(20);
    }
    return true;
}

void ChildProcess::Signal(int sig) {
    if (pid_ > 0 && !exited_) {
        kill(pid_, sig);
    }
}

ProcessResult ChildProcess::Result() {
    Pump(0);
    return result_;
}

}  // namespace orvane_test
