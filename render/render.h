// Scene set-up and frame rendering.
#pragma once

#include "platform/win32.h"

constexpr int kCheckerSize = 256;

void InitScene();
void SetProjection();
// Fills a kCheckerSize x kCheckerSize RGBA image with the checkerboard pattern.
void FillCheckerImage(GLubyte* image);
void CreateCheckerTexture();
BOOL RenderFrame();
void SetMaterials();
// Makes the upper-left 3x3 block of a column-major 4x4 matrix orthonormal again (Gram-Schmidt on
// its columns, in double), keeping its orientation; a degenerate block is left as it is.
void OrthonormalizeRotation(float matrix[16]);
