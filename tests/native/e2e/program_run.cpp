// The child processes of the native program's end-to-end tests.
#include "program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>

extern char** environ;

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

pid_t spawnProcess(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& extraEnv, posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    // An extra variable replaces one of the same name (getenv would find the first).
    std::vector<std::string> variables = extraEnv;
    for (char** e = environ; *e; ++e) {
        const std::string variable = *e;
        const std::string name = variable.substr(0, variable.find('=') + 1);
        bool replaced = false;
        for (const std::string& extra : extraEnv) {
            replaced = replaced || extra.compare(0, name.size(), name) == 0;
        }
        if (!replaced) {
            variables.push_back(variable);
        }
    }
    std::vector<char*> envp;
    for (std::string& v : variables) {
        envp.push_back(const_cast<char*>(v.c_str()));
    }
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) {
        return 0;
    }
    return pid;
}

ProgramRun::ProgramRun(const std::vector<std::string>& arguments,
                       const std::vector<std::string>& environment) {
    std::vector<std::string> argv = {MEREFLOW_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    start(argv, environment);
}

ProgramRun::ProgramRun(const ShellLine& line, const std::vector<std::string>& environment) {
    start({"/bin/sh", "-c", line.text}, environment);
}

ProgramRun::ProgramRun(const Command& command, const std::vector<std::string>& environment) {
    start(command.argv, environment);
}

void ProgramRun::start(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment) {
    char path[] = "/tmp/mereflow-e2e-XXXXXX";
    const int fd = mkstemp(path);
    errorPath_ = path;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fd, 2);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_ = spawnProcess(argv, environment, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fd);
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(errorPath_.c_str());
}

bool ProgramRun::waitExit(double timeoutSeconds, int& status) {
    const double end = monotonicSeconds() + timeoutSeconds;
    while (pid_ > 0) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) {
            pid_ = 0;
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return true;
        }
        if (monotonicSeconds() > end) {
            return false;
        }
        usleep(5000);
    }
    return false;
}

std::string ProgramRun::errorOutput() const {
    std::ifstream in(errorPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool waitUntil(const std::function<bool()>& condition, double timeoutSeconds) {
    const double end = monotonicSeconds() + timeoutSeconds;
    while (monotonicSeconds() < end) {
        if (condition()) {
            return true;
        }
        usleep(10000);
    }
    return false;
}
