// What every end-to-end test of the native program needs, whatever its display system: the
// program or a helper tool as a child process, and waiting with a bound.
#pragma once

#include <spawn.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// A command line as a daemon hands it to /bin/sh -c, with the program's path in it.
struct ShellLine {
    std::string text;
};

// Any other program, its name first, found on the PATH.
struct Command {
    std::vector<std::string> argv;
};

// The program under test, started with arguments and extra environment variables, or a shell
// running a line, or another command; its stderr goes to a file. Killed on destruction if it
// still runs.
class ProgramRun {
public:
    ProgramRun(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});
    explicit ProgramRun(const ShellLine& line, const std::vector<std::string>& environment = {});
    explicit ProgramRun(const Command& command, const std::vector<std::string>& environment = {});
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    pid_t pid() const { return pid_; }
    // Waits up to timeoutSeconds for the exit; true with its status (exit code, or 128 + signal).
    bool waitExit(double timeoutSeconds, int& status);
    std::string errorOutput() const;

private:
    void start(const std::vector<std::string>& argv, const std::vector<std::string>& environment);

    pid_t pid_ = 0;
    std::string errorPath_;
};

// Starts argv[0], found on the PATH, with the file actions and the environment plus the extra
// variables (each replaces one of its name); 0 when it cannot.
pid_t spawnProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                   posix_spawn_file_actions_t* actions);

// Polls the condition every 10 ms until it holds; false on timeout.
bool waitUntil(const std::function<bool()>& condition, double timeoutSeconds);

double monotonicSeconds();
