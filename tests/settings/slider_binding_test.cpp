#include "settings/slider_binding.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// A stand-in dialog that remembers what the bindings wrote.
struct FakeDialog {
    std::map<int, std::pair<int, int>> ranges;
    std::map<int, int> positions;
    std::map<int, std::string> labels;
};

SliderControls fakeControls(FakeDialog& dialog) {
    SliderControls controls;
    controls.dialog = &dialog;
    controls.setRange = [](void* d, int id, int low, int high) {
        static_cast<FakeDialog*>(d)->ranges[id] = {low, high};
    };
    controls.setPosition = [](void* d, int id, int position) {
        static_cast<FakeDialog*>(d)->positions[id] = position;
    };
    controls.position = [](void* d, int id) { return static_cast<FakeDialog*>(d)->positions[id]; };
    controls.setLabel = [](void* d, int id, const char* text) {
        static_cast<FakeDialog*>(d)->labels[id] = text;
    };
    return controls;
}

TEST(SliderBinding, SpeedScalingReadFromTheStoreSitsAtEightyAndReadsBackAsEightTenths) {
    float speed = 0.79999995f;
    SliderBindingList list;
    list.add(1113, 1116, 0.1f, 3, 100, &speed, nullptr);
    FakeDialog dialog;
    list.syncAll(fakeControls(dialog));
    EXPECT_EQ(dialog.ranges[1113], std::make_pair(10, 300));
    EXPECT_EQ(dialog.positions[1113], 80);
    EXPECT_EQ(dialog.labels[1116], "0.80");

    list.readAll(fakeControls(dialog));
    EXPECT_EQ(speed, 0.8f);
    EXPECT_EQ(static_cast<double>(speed), 0.800000011920929);
}

TEST(SliderBinding, ValueJustBelowTheLowEndRoundsOntoIt) {
    float speed = 0.099999994f;
    SliderBindingList list;
    list.add(1113, 1116, 0.1f, 3, 100, &speed, nullptr);
    FakeDialog dialog;
    list.syncAll(fakeControls(dialog));
    EXPECT_EQ(dialog.positions[1113], 10);
    EXPECT_EQ(dialog.labels[1116], "0.10");
}

TEST(SliderBinding, IntegerSettingTruncatesAndLabelsWithFourColumns) {
    int32_t drips = 3;
    SliderBindingList list;
    list.add(1095, 1096, 0, 15, 1, nullptr, &drips);
    FakeDialog dialog;
    list.syncAll(fakeControls(dialog));
    EXPECT_EQ(dialog.ranges[1095], std::make_pair(0, 15));
    EXPECT_EQ(dialog.positions[1095], 3);
    EXPECT_EQ(dialog.labels[1096], "   3");

    dialog.positions[1095] = 12;
    list.readAll(fakeControls(dialog));
    EXPECT_EQ(drips, 12);
    EXPECT_EQ(dialog.labels[1096], "  12");
}

TEST(SliderBinding, ReadingMovesEveryBindingInOrder) {
    float minAmplitude = 4;
    float maxAmplitude = 10;
    SliderBindingList list;
    list.add(1097, 1098, 0, 30, 100, &minAmplitude, nullptr);
    list.add(1099, 1100, 0, 30, 100, &maxAmplitude, nullptr);
    EXPECT_EQ(list.size(), 2u);
    FakeDialog dialog;
    list.syncAll(fakeControls(dialog));
    EXPECT_EQ(dialog.ranges[1097], std::make_pair(0, 3000));
    dialog.positions[1097] = 1234;
    dialog.positions[1099] = 2999;
    list.readAll(fakeControls(dialog));
    EXPECT_EQ(minAmplitude, 12.34f);
    EXPECT_EQ(maxAmplitude, 29.99f);
    EXPECT_EQ(dialog.labels[1098], "12.34");
    EXPECT_EQ(dialog.labels[1100], "29.99");
}

TEST(SliderBinding, BindingWithoutLabelWritesNoText) {
    float value = 1;
    SliderBindingList list;
    list.add(1113, 0, 0.1f, 3, 100, &value, nullptr);
    FakeDialog dialog;
    list.syncAll(fakeControls(dialog));
    list.readAll(fakeControls(dialog));
    EXPECT_TRUE(dialog.labels.empty());
    EXPECT_EQ(value, 1.0f);
}

TEST(SliderBinding, AbsurdSettingSaturatesThePositionInsteadOfOverflowing) {
    float amplitude = 4e7f;
    SliderBindingList list;
    list.add(1097, 1098, 0, 30, 100, &amplitude, nullptr);
    FakeDialog dialog;
    list.syncAll(fakeControls(dialog));
    EXPECT_EQ(dialog.positions[1097], 2147483647);
}

} // namespace
