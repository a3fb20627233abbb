// Animated WebP files through libwebp's animation encoder, frame by frame.
#pragma once

#include "imaging/picture_files.h"

#include <string>

struct WebPAnimEncoder;

// Lossy frames at libwebp's default quality, looping forever. Every frame is the size given
// at construction; each one shows from its timestamp until the next frame's.
class WebpAnimation {
public:
    WebpAnimation(int width, int height);
    ~WebpAnimation();
    WebpAnimation(const WebpAnimation&) = delete;
    WebpAnimation& operator=(const WebpAnimation&) = delete;

    bool ready() const { return encoder_ != nullptr; }

    // Timestamps are in milliseconds and must grow from frame to frame.
    bool addFrame(const RgbPicture& frame, int timestampMs, std::string& error);

    // Ends the last frame at endMs and writes the file.
    bool write(const std::string& path, int endMs, std::string& error);

private:
    WebPAnimEncoder* encoder_ = nullptr;
    int width_;
    int height_;
};
