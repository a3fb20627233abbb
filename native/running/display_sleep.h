// Whether every display sleeps, so that frames nobody can see are not drawn.
#pragma once

#include <functional>
#include <utility>

// The displays' power level as DPMS reports it.
enum class DisplayPower { kOn, kStandby, kSuspend, kOff };

// What the frame loop does next.
enum class SleepStep {
    kDraw,   // draw as usual
    kResume, // the displays woke: restart the frame clock, then draw
    kWait,   // the displays sleep: draw nothing, wait at most msUntilCheck
};

// Asks for the power level at most once a second; Standby, Suspend and Off all count as asleep.
class DisplaySleepWatch {
public:
    // A null readPower stands for a server without usable DPMS: the displays never sleep.
    explicit DisplaySleepWatch(std::function<DisplayPower()> readPower)
        : readPower_(std::move(readPower)) {}

    SleepStep step(double nowMs);

    // Milliseconds from nowMs until the next reading is due; 0 when it is due now.
    double msUntilCheck(double nowMs) const;

private:
    std::function<DisplayPower()> readPower_;
    bool read_ = false; // whether the level was ever read
    double nextReadMs_ = 0;
    bool asleep_ = false;
};
