// The scene's values, shared by its set-up (scene.cpp) and the frame (frame.cpp), and handed to
// the benchmarks' bare WebGL page, which must draw the same picture.
#pragma once

#include "platform/win32.h"

// 0.24300002: one float step above the float nearest to 0.243.
inline constexpr GLfloat kFogDensity = 0x1.f1a9fep-3f;
inline constexpr GLfloat kFogColour[4] = {0.4f, 0.4f, 0.5f, 1.0f};

// Light 0 has a fixed direction and OpenGL's default colours (white diffuse and specular).
inline constexpr GLfloat kLight0Position[4] = {0.7f, 0.7f, 1.25f, 0.0f};

struct LightColours {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
};

// Colours of lights 1 to 6; their directions come from viewerState.lightPositions.
inline constexpr LightColours kLightColours[6] = {
    {{0.35f, 0.35f, 0.65f, 1.0f}, {0.2f, 0.2f, 0.5f, 1.0f}, {0.2f, 0.2f, 0.65f, 1.0f}},
    {{0.65f, 0.75f, 0.45f, 1.0f}, {0.4f, 0.3f, 0.3f, 1.0f}, {0.65f, 0.85f, 0.85f, 1.0f}},
    {{0.65f, 0.65f, 0.35f, 1.0f}, {0.4f, 0.4f, 0.05f, 1.0f}, {0.65f, 0.65f, 0.85f, 1.0f}},
    {{0.55f, 0.55f, 0.55f, 1.0f}, {0.4f, 0.5f, 0.3f, 1.0f}, {0.2f, 0.7f, 0.35f, 1.0f}},
    {{0.05f, 0.6f, 0.05f, 1.0f}, {0.0f, 0.5f, 0.0f, 1.0f}, {0.05f, 0.6f, 0.08f, 1.0f}},
    {{0.4f, 0.4f, 0.4f, 1.0f}, {0.4f, 0.4f, 0.05f, 1.0f}, {0.65f, 0.55f, 0.55f, 1.0f}},
};

// The orthographic box: half its height, and its depth on either side of the eye.
inline constexpr double kOrthoHalfHeight = 18.0;
inline constexpr double kOrthoDepth = 28.0;

inline constexpr GLfloat kFogBackground[4] = {0.5f, 0.25f, 0.25f, 1.0f};
inline constexpr GLfloat kPlainBackground[4] = {0.15f, 0.15f, 0.15f, 1.0f};

inline constexpr GLfloat kMaterialAmbient[4] = {0.05f, 0.05f, 0.05f, 1.0f};
inline constexpr GLfloat kMaterialSpecular[4] = {0.23f, 0.23f, 0.25f, 1.0f};
inline constexpr GLfloat kMaterialAlpha = 0.6f;
inline constexpr GLfloat kMaterialShininess = 40.0f;

// The model turns about its own point (0, 9, 0).
inline constexpr GLfloat kModelDrop = -9.0f;
