// The source's picture on Wayland.
#include "wayland/source_reading.h"

#include "native/layout/water_layout.h"
#include "native/pictures/custom_picture.h"
#include "native/pictures/wallpaper_file.h"
#include "settings/saver_settings.h"
#include "wayland/outputs.h"
#include "wayland/screen_copy.h"

bool readSourcePicture(WaylandState& state, const HostOptions& host, DesktopImage& desktop,
                       std::string& error) {
    if (saverSettings.sourceTexture == kSourceCustom) {
        return loadCustomPicture(host.picturePath, error);
    }
    if (saverSettings.sourceTexture != kSourceDesktop) {
        return true;
    }
    const ScreenShape shape = readScreenShape(state);
    std::string copyWhyNot = state.background    ? "under --background the outputs are not copied"
                             : !state.screenCopy ? "the compositor offers no screen copy"
                                                 : "";
    if (copyWhyNot.empty() && copyOutputs(state, shape, desktop, copyWhyNot)) {
        return true;
    }
    std::string wallpaperWhyNot;
    if (readWallpaperFile(shape, desktop, wallpaperWhyNot)) {
        return true;
    }
    showChomifyInstead(copyWhyNot + " and " + wallpaperWhyNot);
    return true;
}
