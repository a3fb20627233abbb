// Setting up the scene once, before the first frame.
#include "scene/scene_setup.h"

#include "common/gl.h"
#include "scene/camera_oscillator.h"
#include "settings/saver_settings.h"
#include "surface/surface_grid.h"
#include "textures/bitmap_resources.h"
#include "textures/builtin_texture.h"

CameraState cameraState;

namespace {

// Light 0 sits at (0, 0, 1) in eye coordinates: it is placed while the model-view matrix is
// still the identity, so it stays just behind the eye whatever the camera does.
constexpr GLfloat kLightPosition[] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr GLfloat kLightAmbient[] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr GLfloat kLightDiffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat kLightSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};

constexpr GLfloat kMaterialAmbient[] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr GLfloat kMaterialDiffuse[] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr GLfloat kMaterialSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat kMaterialShininess[] = {50.0f};
constexpr GLfloat kMaterialEmission[] = {0.0f, 0.0f, 0.0f, 1.0f};

constexpr float kCameraDistance = 300.0f;

void setupLight() {
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

void setupOscillators() {
    const SaverSettings& s = saverSettings;
    setupOscillator(cameraOscillators.rotateX, s.rotateXAmplitude, s.rotateXTime, false);
    setupOscillator(cameraOscillators.rotateY, s.rotateYAmplitude, s.rotateYTime, false);
    setupOscillator(cameraOscillators.rotateZ, s.rotateZAmplitude, s.rotateZTime, false);
    setupOscillator(cameraOscillators.zoom, s.zoomAmplitude, s.zoomTime, true);
}

void setupRasterisation() {
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// From here on the ambient and diffuse colours follow the current colour or the colour array:
// the material's blue diffuse never shows.
void setupMaterial() {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kMaterialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kMaterialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kMaterialSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, kMaterialShininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, kMaterialEmission);
    // NOTE: Mesa (and so Wine on it) applies glMaterial calls lazily, at its next flush, where
    // they overwrite what colour tracking has copied from the current colour: the surface would
    // show the blue diffuse wherever the colour array is off. Reading the material back makes
    // Mesa apply it now; the query changes no state.
    GLfloat appliedDiffuse[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, appliedDiffuse);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

// Wrap and filters belong to the texture that is bound when they are set.
void setTextureParameters(GLuint textureName, GLint filter) {
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

// The coordinate generation is only configured here; the drawing switches it on.
void setupEnvironmentTexture(int bitmapId) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    environmentTexture.load(bitmapId);
    setTextureParameters(environmentTexture.textureName,
                         saverSettings.smoothTextureFilter ? GL_LINEAR : GL_NEAREST);
}

// Leaves the texture environment alone: the overlay switches to decal only while it draws.
void setupDigitTexture() {
    digitTexture.load(kDigitStripBitmapId);
    setTextureParameters(digitTexture.textureName, GL_NEAREST);
}

} // namespace

void loadPerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewY, kAspectRatio, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setupScene() {
    buildSurfaceGrid();
    glEnable(GL_NORMALIZE);
    setupLight();
    setupOscillators();
    loadPerspective();
    cameraState = {0.0f, 0.0f, 0.0f, 1.0f, {0.0f, 0.0f, -kCameraDistance}};
    setupRasterisation();
    setupMaterial();

    const int32_t source = saverSettings.sourceTexture;
    if (source == kSourceChomify) {
        setupEnvironmentTexture(kRoomBitmapId);
    } else if (source == kSourceSky) {
        setupEnvironmentTexture(kSkyBitmapId);
    }
    if (saverSettings.showFrameRate) {
        setupDigitTexture();
    }
}
