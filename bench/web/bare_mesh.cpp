// The mesh and the scene for bench/web/bare.html: each triangle corner's position and normal,
// flattened once into one array (16464 corners, six floats each), and the lights, materials, fog,
// backgrounds and projection the viewer draws with, from the viewer's own sources, handed to the
// page's own script, which does everything else in plain WebGL 2.
#include <emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/viewer_state.h"
#include "model/mesh.h"
#include "render/scene_values.h"

// clang-format off
EM_JS(void, HandOver, (const float* corners, int count, const char* scene), {
  bareStart(HEAPF32.slice(corners >> 2, (corners >> 2) + 6 * count), count,
            JSON.parse(UTF8ToString(scene)));
});
// clang-format on

namespace {

std::string Number(float value) {
  char number[32];
  std::snprintf(number, sizeof(number), "%.9g", value);
  return number;
}

std::string List(const float* values, int count) {
  std::string list = "[";
  for (int i = 0; i < count; ++i) {
    list += (i > 0 ? "," : "") + Number(values[i]);
  }
  return list + "]";
}

// Each light as [direction, ambient, diffuse, specular]; light 0 has OpenGL's default colours.
std::string Lights(const ViewerState& viewer) {
  const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
  std::string lights = "[[" + List(kLight0Position, 3) + "," + List(black, 3) + "," +
                       List(white, 3) + "," + List(white, 3) + "]";
  for (int i = 0; i < 6; ++i) {
    lights += ",[" + List(viewer.lightPositions[i], 3) + "," + List(kLightColours[i].ambient, 3) +
              "," + List(kLightColours[i].diffuse, 3) + "," + List(kLightColours[i].specular, 3) +
              "]";
  }
  return lights + "]";
}

std::string Scene() {
  const ViewerState viewer{};
  const float ortho[2] = {static_cast<float>(kOrthoHalfHeight), static_cast<float>(kOrthoDepth)};
  const float axis[3] = {viewer.rotationAxis.x, viewer.rotationAxis.y, viewer.rotationAxis.z};
  return "{\"lights\":" + Lights(viewer) + ",\"diffuse\":[" + List(viewer.materialParams, 3) + "," +
         List(viewer.materialParams + 3, 3) + "],\"ambient\":" + List(kMaterialAmbient, 3) +
         ",\"specular\":" + List(kMaterialSpecular, 3) +
         ",\"shininess\":" + Number(kMaterialShininess) + ",\"fogDensity\":" + Number(kFogDensity) +
         ",\"fogColour\":" + List(kFogColour, 3) +
         ",\"plainBackground\":" + List(kPlainBackground, 4) +
         ",\"fogBackground\":" + List(kFogBackground, 4) + ",\"ortho\":" + List(ortho, 2) +
         ",\"drop\":" + Number(kModelDrop) + ",\"axis\":" + List(axis, 3) + "}";
}

}  // namespace

int main() {
  std::vector<float> corners;
  for (int i = 0; i < meshObject.faceCount; ++i) {
    for (int c = 0; c < 3; ++c) {
      const Vec3& vertex = meshObject.vertices[meshObject.faces[i].vertex[c]];
      const Vec3& normal = meshObject.normals[meshObject.faces[i].normal[c]];
      corners.insert(corners.end(), {vertex.x, vertex.y, vertex.z, normal.x, normal.y, normal.z});
    }
  }
  HandOver(corners.data(), static_cast<int>(corners.size() / 6), Scene().c_str());
  return 0;
}
