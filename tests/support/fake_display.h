// A display for tests: a fixed mode list, changes answered from a script, every call recorded.
#pragma once

#include "display/display_seam.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct FakeDisplayCall {
    std::string kind;   // "whole" (a listed mode as it is), "fields", "restore" or "message"
    int32_t number;     // the listed mode the change starts from
    DisplayMode record; // what the change asks for
    uint32_t fields;
    std::string text; // a message's text
};

struct FakeDisplay {
    std::vector<DisplayMode> modes;
    std::deque<int32_t> answers;                    // one per change, in order
    int32_t laterAnswer = kDisplayChangeSuccessful; // once the answers have run out
    std::vector<FakeDisplayCall> calls;

    // The calls' kinds, in order.
    std::vector<std::string> kinds() const;
    // The changes that asked for 0 x 0 x 0, which is how the display goes back to its own mode.
    int returnsToOwnMode() const;
};

// The display the fake seam talks to. Tests run on one thread; so does the fake.
extern FakeDisplay fakeDisplay;

// Puts a fresh fakeDisplay listing `modes` in place of the platform's display for as long as
// it lives, and the previous display back afterwards.
class FakeDisplayInUse {
public:
    explicit FakeDisplayInUse(std::vector<DisplayMode> modes);
    ~FakeDisplayInUse();
    FakeDisplayInUse(const FakeDisplayInUse&) = delete;
    FakeDisplayInUse& operator=(const FakeDisplayInUse&) = delete;

private:
    const DisplaySeam* saved_;
};
