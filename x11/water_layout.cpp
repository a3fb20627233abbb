// The layout decision, made in one place for the start and for every resize, and the Desktop
// pictures cut for it.
#include "x11/water_layout.h"

#include "scene/frame.h"
#include "settings/saver_settings.h"
#include "textures/rgb_picture.h"
#include "textures/source_picture.h"
#include "x11/custom_picture.h"
#include "x11/monitor_list.h"

#include <cstdio>

namespace {

void showChomifyInstead(const std::string& whyNot) {
    freeSourcePixels();
    std::fprintf(stderr, "mereflow: %s; showing Chomify instead\n", whyNot.c_str());
    saverSettings.sourceTexture = kSourceChomify;
}

bool spansScreen(Display* display, const SaverWindow& window) {
    const int screen = DefaultScreen(display);
    return window.width() >= DisplayWidth(display, screen) &&
           window.height() >= DisplayHeight(display, screen);
}

bool sameRect(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Whether the pictures cut for the last layout show the wrong parts in this one.
bool needsNewPictures(const DesktopImage& desktop, const WaterLayout& last,
                      const WaterLayout& now) {
    if (!last.picturesCut || last.spansScreen != now.spansScreen) {
        return true;
    }
    return !now.spansScreen && desktop.cutToWindow && !sameRect(last.window, now.window);
}

// One picture per monitor, primary first, for a window that spans the screen; else one for the
// window: its own rectangle, or the whole picture.
bool cutDesktopPictures(const DesktopImage& desktop, const MonitorList& monitors,
                        const WaterLayout& layout) {
    freeSourcePixels();
    if (layout.spansScreen) {
        return cutMonitorPictures(desktop.picture, monitors, desktop.onRoot);
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

bool readSourcePicture(Display* display, const WindowChoice& choice, const HostOptions& host,
                       DesktopImage& desktop, std::string& error) {
    if (saverSettings.sourceTexture == kSourceCustom) {
        return loadCustomPicture(host.picturePath, error);
    }
    std::string whyNot;
    const Window handedOver = choice.kind == WindowKind::kHandedOver ? choice.id : 0;
    if (saverSettings.sourceTexture == kSourceDesktop &&
        !readDesktopPicture(display, handedOver, desktop, whyNot)) {
        showChomifyInstead(whyNot);
    }
    return true;
}

bool layOutWater(Display* display, const SaverWindow& window, const DesktopImage& desktop,
                 WaterLayout& layout) {
    const MonitorList monitors = listMonitors(display);
    const WaterLayout now = {spansScreen(display, window), window.screenRect(), true};
    frameViewports = layoutMonitors(monitors, now.window, !now.spansScreen);
    if (saverSettings.sourceTexture != kSourceDesktop || !needsNewPictures(desktop, layout, now)) {
        return false;
    }
    if (cutDesktopPictures(desktop, monitors, now)) {
        layout = now;
        return true;
    }
    if (!layout.picturesCut) {
        showChomifyInstead("no memory for the desktop picture");
    } else {
        std::fprintf(stderr, "mereflow: no memory for the desktop picture; keeping the pictures "
                             "of the earlier size\n");
    }
    return false;
}
