// Answering a message box that the code under test shows, from a thread of its own.
#pragma once

#include <windows.h>

#include <string>

// Watches for a message box with the caption from the moment it is made, reads it and presses
// OK. After five seconds without one it gives up and posts WM_QUIT to the thread that made it,
// so that a box the watch missed cannot hang the test. Read the fields once wait() returns.
class MessageBoxWatch {
public:
    explicit MessageBoxWatch(const char* caption);
    ~MessageBoxWatch(); // waits
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    // Returns once the box has been answered or the watch has given up.
    void wait();

    bool found = false;
    std::string text;
    bool hasErrorIcon = false;

private:
    static DWORD WINAPI run(void* parameter);

    std::string caption_;
    DWORD ownerThread_;
    HANDLE thread_ = nullptr;
};
