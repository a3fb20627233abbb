// The steps between a current context and the first frame, in their order.
#include "scene/scene_start.h"

#include "common/random.h"
#include "scene/scene_setup.h"
#include "settings/saver_settings.h"
#include "surface/sine_table.h"
#include "textures/builtin_texture.h"

void startScene(uint32_t seed) {
    crt::srand(seed);
    fillSineTable();
    setupScene();
    const int32_t source = saverSettings.sourceTexture;
    if (source == kSourceDesktop || source == kSourceCustom) {
        uploadSourcePicture();
    }
}
