// The yardstick for the viewer's frame: the same frame, step for step, except that the mesh goes
// to OpenGL as client-side vertex arrays in one glDrawArrays call instead of immediate mode:
// RenderFrame(DrawMeshArrays).
#pragma once

#include <vector>

#include "model/mesh.h"
#include "platform/win32.h"

// The mesh with its faces expanded: three floats of position and three of normal per corner.
struct MeshArrays {
  std::vector<GLfloat> positions;
  std::vector<GLfloat> normals;
  GLsizei corners = 0;
};

MeshArrays ExpandMesh(const MeshObject& mesh);

// One glDrawArrays(GL_TRIANGLES) of the built-in mesh, expanded on first use, with DrawMesh's
// line width: the drawing step that RenderFrame takes for the reference frame.
void DrawMeshArrays();
