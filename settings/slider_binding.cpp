// Moving settings between trackbars, their labels and the settings record.
#include "settings/slider_binding.h"

#include "settings/dialog_numbers.h"

#include <cassert>
#include <cmath>
#include <cstdio>

SliderBindingList sliderBindings;

namespace {

// The label shows an integer setting as "%4d" and a real one as "%.2f".
void writeLabel(const SliderBinding& binding, const SliderControls& controls) {
    if (binding.labelId == 0) {
        return;
    }
    char text[32];
    if (binding.integerTarget != nullptr) {
        std::snprintf(text, sizeof text, "%4d", static_cast<int>(*binding.integerTarget));
    } else {
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(*binding.realTarget));
    }
    controls.setLabel(controls.dialog, binding.labelId, text);
}

float settingValue(const SliderBinding& binding) {
    return binding.integerTarget != nullptr ? static_cast<float>(*binding.integerTarget)
                                            : *binding.realTarget;
}

} // namespace

void syncSlider(const SliderBinding& binding, const SliderControls& controls) {
    controls.setRange(controls.dialog, binding.sliderId,
                      truncateToInt32(binding.minimum * binding.scale),
                      truncateToInt32(binding.maximum * binding.scale));
    const float position = std::round(settingValue(binding) * binding.scale);
    controls.setPosition(controls.dialog, binding.sliderId, truncateToInt32(position));
    writeLabel(binding, controls);
}

void readSlider(const SliderBinding& binding, const SliderControls& controls) {
    const float value =
        static_cast<float>(controls.position(controls.dialog, binding.sliderId)) / binding.scale;
    if (binding.integerTarget != nullptr) {
        *binding.integerTarget = truncateToInt32(value);
    } else {
        *binding.realTarget = value;
    }
    writeLabel(binding, controls);
}

void SliderBindingList::add(int32_t sliderId, int32_t labelId, float minimum, float maximum,
                            float scale, float* realTarget, int32_t* integerTarget) {
    assert((realTarget == nullptr) != (integerTarget == nullptr) &&
           "a slider binding needs exactly one target");
    assert(scale != 0 && "a slider binding needs a non-zero scale");
    bindings.push_back(std::make_unique<SliderBinding>(
        SliderBinding{sliderId, labelId, minimum, maximum, scale, realTarget, integerTarget}));
}

void SliderBindingList::syncAll(const SliderControls& controls) const {
    for (const auto& binding : bindings) {
        syncSlider(*binding, controls);
    }
}

void SliderBindingList::readAll(const SliderControls& controls) const {
    for (const auto& binding : bindings) {
        readSlider(*binding, controls);
    }
}
