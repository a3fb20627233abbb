// Trackbars tied to settings: each binding moves one setting between its trackbar and label.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Ties one trackbar and its value label to one setting; exactly one target is set.
struct SliderBinding {
    int32_t sliderId;
    int32_t labelId; // 0: no label
    float minimum;
    float maximum;
    float scale; // trackbar positions per unit of the setting
    float* realTarget;
    int32_t* integerTarget;
};

// What a binding needs from the dialog that holds its controls. The Win32 dialog fills it with
// trackbar and static-text calls; tests fill it with a fake.
struct SliderControls {
    void* dialog;
    void (*setRange)(void* dialog, int sliderId, int low, int high); // without redrawing
    void (*setPosition)(void* dialog, int sliderId, int position);   // with redrawing
    int (*position)(void* dialog, int sliderId);
    void (*setLabel)(void* dialog, int labelId, const char* text);
};

// Writes the setting into the trackbar (range, then rounded position) and the label.
void syncSlider(const SliderBinding& binding, const SliderControls& controls);

// Reads the trackbar's position divided by the scale into the setting, then rewrites the label.
void readSlider(const SliderBinding& binding, const SliderControls& controls);

// The ordered list of bindings that the configuration dialog appends to when it opens.
class SliderBindingList {
public:
    virtual ~SliderBindingList() = default;

    void add(int32_t sliderId, int32_t labelId, float minimum, float maximum, float scale,
             float* realTarget, int32_t* integerTarget);
    void syncAll(const SliderControls& controls) const;
    void readAll(const SliderControls& controls) const;
    size_t size() const { return bindings.size(); }

private:
    std::vector<std::unique_ptr<SliderBinding>> bindings;
};

// The process's one list. Only the dialog's thread touches it; the process ends without
// destroying it.
extern SliderBindingList sliderBindings;
