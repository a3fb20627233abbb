// The source's picture on Wayland.
#include "wayland/source_reading.h"

#include "native/layout/water_layout.h"
#include "native/pictures/custom_picture.h"
#include "native/wallpaper/wallpaper_file.h"
#include "settings/saver_settings.h"
#include "wayland/outputs.h"
#include "wayland/screen_copy.h"

#include <cstdio>
#include <vector>

namespace {

// Outputs described whose picture is not yet in the desktop image.
std::vector<Output*> unpictured(WaylandState& state) {
    std::vector<Output*> outputs;
    for (auto& output : state.outputs) {
        if (output->done && !output->pictured) {
            outputs.push_back(output.get());
        }
    }
    return outputs;
}

void notePictured(const std::vector<Output*>& outputs) {
    for (Output* output : outputs) {
        output->pictured = true;
    }
}

bool readWallpaper(WaylandState& state, DesktopImage& image, std::string& whyNot) {
    DesktopImage read;
    if (!readWallpaperFile(readScreenShape(state), read, whyNot)) {
        return false;
    }
    image = std::move(read);
    return true;
}

} // namespace

void readSourcePicture(WaylandState& state, const HostOptions& host, DesktopPictures& desktop) {
    std::string whyNot;
    if (saverSettings.sourceTexture == kSourceCustom &&
        !loadCustomPicture(host.picturePath, whyNot)) {
        showChomifyInstead(whyNot);
    }
    if (saverSettings.sourceTexture != kSourceDesktop) {
        return;
    }
    const std::vector<Output*> outputs = unpictured(state);
    std::string copyWhyNot = state.background    ? "under --background the outputs are not copied"
                             : !state.screenCopy ? "the compositor offers no screen copy"
                                                 : "";
    if (copyWhyNot.empty() && copyOutputs(state, outputs, desktop.image, copyWhyNot)) {
        desktop.screenCopied = true;
        notePictured(outputs);
        return;
    }
    std::string wallpaperWhyNot;
    if (readWallpaper(state, desktop.image, wallpaperWhyNot)) {
        notePictured(outputs);
        return;
    }
    showChomifyInstead(copyWhyNot + " and " + wallpaperWhyNot);
}

void readJoiningOutputs(WaylandState& state, DesktopPictures& desktop) {
    const std::vector<Output*> outputs = unpictured(state);
    if (saverSettings.sourceTexture != kSourceDesktop || outputs.empty()) {
        return;
    }
    std::string whyNot;
    const bool read = desktop.screenCopied ? copyOutputs(state, outputs, desktop.image, whyNot)
                                           : readWallpaper(state, desktop.image, whyNot);
    if (!read) {
        std::fprintf(stderr, "mereflow: %s; a new output shows black under the water\n",
                     whyNot.c_str());
    }
    notePictured(outputs);
}
