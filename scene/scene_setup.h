// The fixed OpenGL scene: grid, light, material, projection, rasterisation and textures.
#pragma once

#include "common/vec3.h"

// The transform applied to the surface every frame. The oscillators rewrite the angles and the
// scale while "Enable Movement" is on; translation stays (0, 0, -300). Render thread only.
struct CameraState {
    float rotationX; // degrees
    float rotationY;
    float rotationZ;
    float scale;
    Vec3 translation;
};

extern CameraState cameraState;

// The projection of every frame: fixed, whatever the shape of the window (even the preview's).
constexpr double kFieldOfViewY = 120.0;
constexpr float kAspectRatio = 1.33f;
constexpr double kNearPlane = 10.0;
constexpr double kFarPlane = 10000.0;

// Loads the perspective into the projection matrix and leaves an identity model-view current.
void loadPerspective();

// Builds the surface grid and sets every piece of OpenGL state the frames rely on, and loads
// the built-in textures the source and the overlay need. Runs once, on the render thread, with
// its context current and the settings loaded.
void setupScene();
