// Scene set-up and frame rendering.
#pragma once

#include "platform/win32.h"

constexpr int kCheckerSize = 256;

void InitScene();
void SetProjection();
// Fills a kCheckerSize x kCheckerSize RGBA image with the checkerboard pattern.
void FillCheckerImage(GLubyte* image);
void CreateCheckerTexture();
// The step of a frame that sends the mesh: DrawMesh for the viewer; a benchmark may pass another.
using DrawStep = void (*)();
// One frame: clear, fold the pending increment while rotating, set the lights, model matrix and
// materials, run drawStep, reset the per-frame state, flush and swap.
BOOL RenderFrame(DrawStep drawStep);
// modelMatrix := R * modelMatrix for the pending increment R, kept a rotation.
void FoldRotationIncrement();
void SetMaterials();
