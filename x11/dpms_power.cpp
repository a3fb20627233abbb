// Reading DPMS through the Xext library.
#include "x11/dpms_power.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

namespace {

bool dpmsEnabled(Display* display, CARD16& level) {
    BOOL enabled = False;
    return DPMSInfo(display, &level, &enabled) && enabled;
}

} // namespace

std::function<DisplayPower()> dpmsPowerReader(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    CARD16 level = 0;
    if (!DPMSQueryExtension(display, &eventBase, &errorBase) || !DPMSCapable(display) ||
        !dpmsEnabled(display, level)) {
        return nullptr;
    }
    return [display] {
        CARD16 level = DPMSModeOn;
        // DPMS switched off while the program runs: the displays no longer sleep.
        if (!dpmsEnabled(display, level)) {
            return DisplayPower::kOn;
        }
        switch (level) {
        case DPMSModeStandby:
            return DisplayPower::kStandby;
        case DPMSModeSuspend:
            return DisplayPower::kSuspend;
        case DPMSModeOff:
            return DisplayPower::kOff;
        default:
            return DisplayPower::kOn;
        }
    };
}
