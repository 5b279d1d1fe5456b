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
