// The layout decision and the Desktop pictures cut for it.
#include "native/layout/water_layout.h"

#include "scene/frame.h"
#include "settings/saver_settings.h"
#include "textures/rgb_picture.h"
#include "textures/source_picture.h"

#include <cstdio>

namespace {

bool sameRect(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool sameMonitors(const MonitorList& a, const MonitorList& b) {
    if (a.count != b.count) {
        return false;
    }
    for (int32_t i = 0; i < a.count; ++i) {
        if (!sameRect(a.monitors[i], b.monitors[i])) {
            return false;
        }
    }
    return true;
}

// Whether the pictures cut for the last layout show the wrong parts in this one.
bool needsNewPictures(const DesktopImage& desktop, const WaterLayout& last,
                      const WaterLayout& now) {
    if (!last.picturesCut || last.spansScreen != now.spansScreen) {
        return true;
    }
    if (now.spansScreen) {
        return !sameMonitors(last.monitors, now.monitors);
    }
    return desktop.cutToWindow && !sameRect(last.window, now.window);
}

// One picture per monitor, primary first, for a window that spans the screen; else one for the
// window: its own rectangle, or the whole picture.
bool cutDesktopPictures(const DesktopImage& desktop, const WaterLayout& layout) {
    freeSourcePixels();
    if (layout.spansScreen) {
        return cutMonitorPictures(desktop.picture, layout.monitors, desktop.onRoot);
    }
    if (desktop.cutToWindow) {
        MonitorList window;
        addMonitor(window, layout.window, true);
        return cutMonitorPictures(desktop.picture, window, desktop.onRoot);
    }
    sourcePicture.width = saverSettings.textureWidth;
    sourcePicture.height = saverSettings.textureHeight;
    return stretchIntoSourcePicture(desktop.picture);
}

} // namespace

void showChomifyInstead(const std::string& whyNot) {
    freeSourcePixels();
    std::fprintf(stderr, "mereflow: %s; showing Chomify instead\n", whyNot.c_str());
    saverSettings.sourceTexture = kSourceChomify;
}

bool layOutWater(const ScreenShape& screen, const ScreenRect& window, const DesktopImage& desktop,
                 WaterLayout& layout) {
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const WaterLayout now = {width >= screen.width && height >= screen.height, window, true,
                             screen.monitors};
    frameViewports = layoutMonitors(screen.monitors, now.window, !now.spansScreen);
    if (saverSettings.sourceTexture != kSourceDesktop || !needsNewPictures(desktop, layout, now)) {
        return false;
    }
    if (cutDesktopPictures(desktop, now)) {
        layout = now;
        return true;
    }
    if (!layout.picturesCut) {
        showChomifyInstead("no memory for the desktop picture");
    } else {
        // Noted as cut, so that the monitors' look once a second does not try again and again.
        layout = now;
        std::fprintf(stderr, "mereflow: no memory for the desktop picture; keeping the pictures "
                             "of the earlier size\n");
    }
    return false;
}
