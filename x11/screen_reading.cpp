// The screen's shape and the source's picture, read from the X server.
#include "x11/screen_reading.h"

#include "native/pictures/custom_picture.h"
#include "settings/saver_settings.h"
#include "x11/desktop_picture.h"
#include "x11/monitor_list.h"

ScreenShape readScreenShape(Display* display) {
    const int screen = DefaultScreen(display);
    ScreenShape shape;
    shape.width = DisplayWidth(display, screen);
    shape.height = DisplayHeight(display, screen);
    shape.monitors = listMonitors(display);
    return shape;
}

void readSourcePicture(Display* display, const WindowChoice& choice, const HostOptions& host,
                       DesktopImage& desktop) {
    std::string whyNot;
    bool had = true;
    if (saverSettings.sourceTexture == kSourceCustom) {
        had = loadCustomPicture(host.picturePath, whyNot);
    } else if (saverSettings.sourceTexture == kSourceDesktop) {
        const Window handedOver = choice.kind == WindowKind::kHandedOver ? choice.id : 0;
        had = readDesktopPicture(display, handedOver, readScreenShape(display), desktop, whyNot);
    }
    if (!had) {
        showChomifyInstead(whyNot);
    }
}
