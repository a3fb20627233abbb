// The Custom picture: decoded, given its working size, stretched into the source picture.
#include "native/pictures/custom_picture.h"

#include "imaging/picture_files.h"
#include "settings/saver_settings.h"
#include "textures/rgb_picture.h"

bool loadCustomPicture(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "-source custom needs -picture FILE";
        return false;
    }
    RgbPicture picture;
    const TextureSize texture = {saverSettings.textureWidth, saverSettings.textureHeight};
    if (!readPicture(path, picture, error, texture)) {
        return false;
    }
    if (!prepareCustomPicture(picture)) {
        error = path + ": " + kNoMemoryForPicture;
        return false;
    }
    return true;
}
