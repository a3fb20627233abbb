// Running a program with a time limit, through posix_spawn and a pipe.
#include "native/wallpaper/command_output.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

long long nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

pid_t spawnWithOutput(const std::vector<std::string>& argv, int outputFd) {
    std::vector<char*> arguments;
    for (const std::string& a : argv) {
        arguments.push_back(const_cast<char*>(a.c_str()));
    }
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // The program may block signals for itself; the child starts with none blocked.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int failed =
        posix_spawnp(&pid, arguments[0], &actions, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// Reads until the end of the output, the deadline or the size cap; true at the end.
bool readUntilEnd(int fd, long long deadline, std::string& output) {
    char buffer[4096];
    for (;;) {
        const long long left = deadline - nowMs();
        pollfd ready = {fd, POLLIN, 0};
        if (left <= 0 || poll(&ready, 1, static_cast<int>(left)) == 0) {
            return false;
        }
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count == 0) {
            return true;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        output.append(buffer, static_cast<size_t>(count));
        if (output.size() > kMaxCommandOutput) {
            return false;
        }
    }
}

} // namespace

bool readCommandOutput(const std::vector<std::string>& argv, int timeoutMs, std::string& output) {
    output.clear();
    int pipeFds[2];
    if (argv.empty() || pipe2(pipeFds, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t pid = spawnWithOutput(argv, pipeFds[1]);
    close(pipeFds[1]);
    if (pid < 0) {
        close(pipeFds[0]);
        return false;
    }
    const bool ended = readUntilEnd(pipeFds[0], nowMs() + timeoutMs, output);
    close(pipeFds[0]);
    if (!ended) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
