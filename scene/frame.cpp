// The per-frame sequence and the frame-rate overlay hook.
#include "scene/frame.h"

#include "common/clock.h"
#include "common/gl.h"
#include "scene/camera_oscillator.h"
#include "scene/scene_setup.h"
#include "settings/saver_settings.h"
#include "surface/drips.h"
#include "surface/surface_drawing.h"
#include "textures/builtin_texture.h"
#include "textures/frame_rate_overlay.h"

double lastFrameTimeMs = readClockMs();
MonitorLayout frameViewports;

void restartFrameClock() {
    lastFrameTimeMs = readClockMs();
}

namespace {

// The overlay works on a 50 x 38 unit screen, one unit per digit.
constexpr double kOverlayWidth = 50.0;
constexpr double kOverlayHeight = 38.0;
constexpr double kOverlayDepth = 10.0;
constexpr float kOscillatorUnitsPerSecond = 30.0f;
constexpr float kGridCentreX = 512.0f;
constexpr float kGridCentreY = 384.0f;

// Drawn before the surface with depth testing on: its depth is nearer, so the surface drawn
// afterwards leaves the digits visible.
void drawOverlay(float dt) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, kOverlayWidth, 0.0, kOverlayHeight, -kOverlayDepth, kOverlayDepth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glDisable(GL_LIGHTING);
    glPushMatrix();
    // One unit from the left edge, its top one unit below the top edge.
    glTranslatef(1.0f, 36.0f, 0.0f);
    if (dt != 0.0f) {
        drawFrameRate(1.0f / dt);
    }
    glPopMatrix();
    glEnable(GL_LIGHTING);

    loadPerspective();
}

// Desktop gives each monitor its own picture; every other source shows one picture everywhere.
// A monitor without a picture gets texture 0, which has no image: it draws untextured.
void bindMonitorTexture(int32_t monitor) {
    const int32_t source = saverSettings.sourceTexture;
    if (!drawsWithSourceTexture(source)) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D,
                  source == kSourceDesktop ? sourceTextureNames[monitor] : sourceTextureName);
}

// The pass that draws the primary monitor's viewport, or the first when the window does not
// show the primary: the digits sit in that viewport's top-left corner.
int32_t primaryPass() {
    for (int32_t pass = 0; pass < frameViewports.count; ++pass) {
        if (frameViewports.monitors[pass] == 0) {
            return pass;
        }
    }
    return 0;
}

// Rotates and scales the surface about the middle of its 1024 x 768 frame.
void placeCamera() {
    const CameraState& c = cameraState;
    glTranslatef(c.translation.x, c.translation.y, c.translation.z);
    glRotatef(c.rotationX, 1.0f, 0.0f, 0.0f);
    glRotatef(c.rotationY, 0.0f, 1.0f, 0.0f);
    glRotatef(c.rotationZ, 0.0f, 0.0f, 1.0f);
    glScalef(c.scale, c.scale, c.scale);
    glTranslatef(-kGridCentreX, -kGridCentreY, 0.0f);
}

void moveCamera(float dt) {
    const float increment = dt * kOscillatorUnitsPerSecond;
    cameraState.rotationX = advanceOscillator(cameraOscillators.rotateX, increment);
    cameraState.rotationY = advanceOscillator(cameraOscillators.rotateY, increment);
    cameraState.rotationZ = advanceOscillator(cameraOscillators.rotateZ, increment);
    cameraState.scale = advanceOscillator(cameraOscillators.zoom, increment);
}

float measureFrameInterval() {
    const float dt = static_cast<float>((readClockMs() - lastFrameTimeMs) * 0.001);
    lastFrameTimeMs = readClockMs();
    return dt;
}

// One water for every monitor: the surface, its normals and the camera are the same in each
// viewport; what no viewport covers keeps the clear colour.
void drawPasses(float dt) {
    const int32_t passes = frameViewports.count > 0 ? frameViewports.count : 1;
    const int32_t digitsPass = primaryPass();
    for (int32_t pass = 0; pass < passes; ++pass) {
        if (pass < frameViewports.count) {
            const Viewport& v = frameViewports.viewports[pass];
            glViewport(v.x, v.y, v.width, v.height);
        }
        if (pass == digitsPass && saverSettings.showFrameRate) {
            drawOverlay(dt);
        }
        // Each its own picture; the overlay left the digits bound.
        bindMonitorTexture(pass < frameViewports.count ? frameViewports.monitors[pass] : 0);
        glLoadIdentity();
        placeCamera();
        drawPreparedSurface();
    }
}

void moveWaterOn(float dt) {
    updateSurface(dt);
    scheduleDrips();
    if (saverSettings.enableMovement) {
        moveCamera(dt);
    }
}

} // namespace

void renderFrame(void* deviceContext) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const float dt = measureFrameInterval();
    prepareSurfaceDrawing();
    drawPasses(dt);
    moveWaterOn(dt);
    glFlush();
    presentFrame(deviceContext);
}

float beginFrameRound() {
    const float dt = measureFrameInterval();
    prepareSurfaceDrawing();
    return dt;
}

void drawRoundFrame(void* target, float dt) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPasses(dt);
    glFlush();
    presentFrame(target);
}

void endFrameRound(float dt) {
    moveWaterOn(dt);
}
