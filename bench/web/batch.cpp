// The WebAssembly cost of immediate mode in the OpenGL subset: the mesh's 16464 vertices (a
// glNormal3f and a glVertex3f each) turned into one buffer, and glEnd's upload and draw, per frame.
// Prints one line; bench/web/measure.js reads it from the page's console.
#include <emscripten.h>

#include <cstdio>

#include "model/mesh.h"
#include "platform/webgl/webgl.h"

namespace {

constexpr int kWarmUp = 20;
constexpr int kFrames = 300;

void RecordMesh(const MeshObject& mesh) {
  for (int i = 0; i < mesh.faceCount; ++i) {
    for (int c = 0; c < 3; ++c) {
      const Vec3& normal = mesh.normals[mesh.faces[i].normal[c]];
      glNormal3f(normal.x, normal.y, normal.z);
      const Vec3& vertex = mesh.vertices[mesh.faces[i].vertex[c]];
      glVertex3f(vertex.x, vertex.y, vertex.z);
    }
  }
}

}  // namespace

int main() {
  GlFramebufferFormat format;
  format.width = format.height = 614;
  GlContext* context = GlCreateContext("#canvas", format);
  if (context == nullptr || !GlMakeCurrent(context)) {
    std::puts("batch: no WebGL 2 context");
    return 1;
  }
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_DEPTH_TEST);
  double recording = 0;
  double ending = 0;
  for (int frame = 0; frame < kWarmUp + kFrames; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    double start = emscripten_get_now();
    glBegin(GL_TRIANGLES);
    RecordMesh(meshObject);
    double recorded = emscripten_get_now();
    glEnd();
    double ended = emscripten_get_now();
    if (frame >= kWarmUp) {
      recording += recorded - start;
      ending += ended - recorded;
    }
  }
  std::printf(
      "immediate mode, %d vertices (glNormal3f and glVertex3f each) per frame: "
      "into one buffer %.3f ms, glEnd (upload and draw) %.3f ms\n",
      3 * meshObject.faceCount, recording / kFrames, ending / kFrames);
  return 0;
}
