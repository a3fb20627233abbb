// Running a small program, such as gsettings, and reading what it prints.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr size_t kMaxCommandOutput = 65536;

// Runs argv[0], found on PATH, with no shell, its standard input and error on /dev/null, and
// gives what it printed on its standard output (at most kMaxCommandOutput bytes). False when it
// cannot be started, exits with another status than 0, or runs past timeoutMs: then it is killed.
bool readCommandOutput(const std::vector<std::string>& argv, int timeoutMs, std::string& output);
