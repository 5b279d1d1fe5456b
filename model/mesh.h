// The built-in mesh: a twisted ribbon of 5488 triangles, and the routine that draws it.
#pragma once

#include "model/vec3.h"
#include "platform/win32.h"

struct MeshFace {
  int vertex[3];
  int normal[3];
  int reserved[3];
};

struct MeshObject {
  const char* name;
  const MeshFace* faces;
  int faceCount;
  const Vec3* vertices;
  int vertexCount;
  const Vec3* normals;
  int normalCount;
  unsigned int reserved[3];
};

extern const MeshObject meshObject;

// The mesh computed from the rule the generated tables follow; its arrays live until the program
// ends (or the next call).
MeshObject ComputeMeshObject();

// Draws the built-in mesh.
void DrawMesh();
// Draws any mesh of these records; a face count of 0 or less gives an empty begin/end pair.
void DrawMeshObject(const MeshObject& mesh);
