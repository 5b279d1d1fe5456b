// Rows of the built-in mesh that tell at once whether the generated data is exactly right; the
// pictures the mesh makes are checked by the baselines.
#include <gtest/gtest.h>

#include "model/mesh.h"

TEST(MeshData, TellingRows) {
  const MeshObject& mesh = meshObject;
  ASSERT_EQ(mesh.faceCount, 5488);
  ASSERT_EQ(mesh.normalCount, 2745);
  const struct {
    const Vec3* array;
    int entry;
    Vec3 value;
  } rows[] = {
      {mesh.vertices, 0, {7.714286f, 21.420984f, -3}},
      {mesh.vertices, 1, {7.216450f, 21.464870f, -6.158153f}},
      {mesh.vertices, 2, {9, 21.849556f, -3}},
      {mesh.vertices, 16461, {-9, -3, -3}},
      {mesh.normals, 0, {0.315602f, -0.946804f, -0.062907f}},
      {mesh.normals, 1, {0, 0, 0}},
      {mesh.normals, 3, {0.315108f, -0.946974f, -0.062832f}},
      {mesh.normals, 2744, {0.315601f, -0.946804f, 0.062907f}},
  };
  for (const auto& row : rows) {
    const Vec3 v = row.array[row.entry];
    EXPECT_TRUE(v.x == row.value.x && v.y == row.value.y && v.z == row.value.z)
        << (row.array == mesh.normals ? "normal " : "vertex ") << row.entry << ": " << v.x << ", "
        << v.y << ", " << v.z;
  }
  const MeshFace& last = mesh.faces[mesh.faceCount - 1];
  EXPECT_EQ(last.vertex[2], mesh.vertexCount - 1);
  EXPECT_EQ(last.normal[0], 1);  // odd faces are slivers with the zero normal
}
