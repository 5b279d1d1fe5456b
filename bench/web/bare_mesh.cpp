// The mesh for bench/web/bare.html: each triangle corner's position and normal, flattened once
// into one array (16464 corners, six floats each) and handed to the page's own script, which
// does everything else in plain WebGL 2.
#include <emscripten.h>

#include <vector>

#include "model/mesh.h"

// clang-format off
EM_JS(void, HandOver, (const float* corners, int count), {
  bareStart(HEAPF32.slice(corners >> 2, (corners >> 2) + 6 * count), count);
});
// clang-format on

int main() {
  std::vector<float> corners;
  for (int i = 0; i < meshObject.faceCount; ++i) {
    for (int c = 0; c < 3; ++c) {
      const Vec3& vertex = meshObject.vertices[meshObject.faces[i].vertex[c]];
      const Vec3& normal = meshObject.normals[meshObject.faces[i].normal[c]];
      corners.insert(corners.end(), {vertex.x, vertex.y, vertex.z, normal.x, normal.y, normal.z});
    }
  }
  HandOver(corners.data(), static_cast<int>(corners.size() / 6));
  return 0;
}
