// The built-in mesh computed from its rule: the same records and values as the generated tables.
#include <vector>

#include "model/mesh.h"
#include "model/mesh_rule.h"

namespace {

Vec3 AsVec3(const mesh_rule::Point& p) {
  return {float(p[0]), float(p[1]), float(p[2])};
}

}  // namespace

MeshObject ComputeMeshObject() {
  static std::vector<MeshFace> faces;
  static std::vector<Vec3> vertices;
  static std::vector<Vec3> normals;
  const mesh_rule::Mesh mesh = mesh_rule::BuildMesh();
  faces.clear();
  for (const mesh_rule::Face& face : mesh.faces) {
    const int n = face.normal;
    faces.push_back({{face.vertex[0], face.vertex[1], face.vertex[2]}, {n, n, n}, {-1, -1, -1}});
  }
  vertices.clear();
  for (const mesh_rule::Point& p : mesh.vertices) {
    vertices.push_back(AsVec3(p));
  }
  normals.clear();
  for (const mesh_rule::Point& p : mesh.normals) {
    normals.push_back(AsVec3(p));
  }
  return {
      "0_0",          faces.data(),        int(faces.size()), vertices.data(), int(vertices.size()),
      normals.data(), int(normals.size()), {0, 0, 1}};
}
