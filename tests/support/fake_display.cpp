// The fake display's seam: modes from the list, answers from the script, calls into the record.
#include "support/fake_display.h"

FakeDisplay fakeDisplay;

namespace {

bool fakeEnumerate(int32_t number, DisplayMode* mode) {
    if (number < 0 || number >= static_cast<int32_t>(fakeDisplay.modes.size())) {
        return false;
    }
    *mode = fakeDisplay.modes[static_cast<size_t>(number)];
    return true;
}

int32_t fakeChange(int32_t number, const DisplayMode* request, uint32_t fields) {
    DisplayMode record = {};
    fakeEnumerate(number, &record);
    if (request != nullptr) {
        record.width = request->width;
        record.height = request->height;
        record.depth = request->depth;
    }
    fakeDisplay.calls.push_back({request ? "fields" : "whole", number, record, fields, ""});
    if (fakeDisplay.answers.empty()) {
        return fakeDisplay.laterAnswer;
    }
    const int32_t answer = fakeDisplay.answers.front();
    fakeDisplay.answers.pop_front();
    return answer;
}

int32_t fakeRestore() {
    fakeDisplay.calls.push_back({"restore", 0, {}, 0, ""});
    return kDisplayChangeSuccessful;
}

void fakeMessage(const char* text) {
    fakeDisplay.calls.push_back({"message", 0, {}, 0, text});
}

const DisplaySeam kFakeSeam = {fakeEnumerate, fakeChange, fakeRestore, fakeMessage};

} // namespace

std::vector<std::string> FakeDisplay::kinds() const {
    std::vector<std::string> result;
    for (const FakeDisplayCall& call : calls) {
        result.push_back(call.kind);
    }
    return result;
}

int FakeDisplay::returnsToOwnMode() const {
    int count = 0;
    for (const FakeDisplayCall& call : calls) {
        const DisplayMode& r = call.record;
        count += call.kind == "fields" && r.width == 0 && r.height == 0 && r.depth == 0;
    }
    return count;
}

FakeDisplayInUse::FakeDisplayInUse(std::vector<DisplayMode> modes) : saved_(displaySeam) {
    fakeDisplay = FakeDisplay{};
    fakeDisplay.modes = std::move(modes);
    displaySeam = &kFakeSeam;
}

FakeDisplayInUse::~FakeDisplayInUse() {
    displaySeam = saved_;
}
