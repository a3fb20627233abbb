// The Custom picture: decoded, given its working size, stretched into the source picture.
#include "x11/custom_picture.h"

#include "imaging/picture_files.h"
#include "textures/rgb_picture.h"

bool loadCustomPicture(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "-source custom needs -picture FILE";
        return false;
    }
    RgbPicture picture;
    if (!readPicture(path, picture, error)) {
        return false;
    }
    chooseWorkingSizeFor(picture);
    if (!stretchIntoSourcePicture(picture)) {
        error = path + ": no memory for the picture";
        return false;
    }
    return true;
}
