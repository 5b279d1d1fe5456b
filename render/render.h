// Scene set-up and frame rendering.
#pragma once

#include "platform/win32.h"

constexpr int kCheckerSize = 256;

void InitScene();
void SetProjection();
// Fills a kCheckerSize x kCheckerSize RGBA image with the checkerboard pattern.
void FillCheckerImage(GLubyte* image);
void CreateCheckerTexture();
// One frame: ClearFrame, FoldRotationIncrement while rotating, SetMeshDrawState, DrawMesh,
// ResetMeshDrawState, flush and swap. The pieces are public so that a benchmark can draw the very
// same frame around another way of sending the mesh.
BOOL RenderFrame();
void ClearFrame();
// modelMatrix := R * modelMatrix for the pending increment R, kept a rotation.
void FoldRotationIncrement();
// The per-frame switches, lights, depth test, model matrix, materials and the drop by 9 units.
void SetMeshDrawState();
// Back to the state between frames: identity modelview, every per-frame switch off, fill mode.
void ResetMeshDrawState();
void SetMaterials();
// Makes the upper-left 3x3 block of a column-major 4x4 matrix orthonormal again (Gram-Schmidt on
// its columns, in double), keeping its orientation; a degenerate block is left as it is.
void OrthonormalizeRotation(float matrix[16]);
