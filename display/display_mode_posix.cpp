// The display seam where there is no display to switch: no modes, every change refused.
#include "display/display_seam.h"

namespace {

bool noModes(int32_t, DisplayMode*) {
    return false;
}

int32_t refuseChange(int32_t, const DisplayMode*, uint32_t) {
    return kDisplayChangeFailed;
}

int32_t refuseRestore() {
    return kDisplayChangeFailed;
}

void dropMessage(const char*) {}

} // namespace

const DisplaySeam platformDisplaySeam = {noModes, refuseChange, refuseRestore, dropMessage};
