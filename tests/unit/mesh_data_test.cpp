// The built-in mesh's invariants, and the rows that tell at once whether the data is right.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/mesh.h"

namespace {

const MeshObject& mesh = meshObject;

const auto Same = [](Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
const auto Corner = [](int face, int c) { return mesh.vertices[mesh.faces[face].vertex[c]]; };
const auto FaceNormal = [](int face) { return mesh.normals[mesh.faces[face].normal[0]]; };

// The corners are floats of a small ribbon's grid and the normals were computed in float and kept
// to six decimals: they differ from the corners' exact unit normal by up to about 6e-6 per
// component here. A normal of the wrong face, or with a component lost, is off by far more.
constexpr double kNormalTolerance = 1e-5;

// Faces alternate: a real triangle with a unit normal of its own, then a sliver (first and third
// corners the same) with the zero normal 1; each real triangle comes in both windings. Normals
// are numbered in order of first use, and every entry is used.
TEST(MeshData, Invariants) {
  ASSERT_EQ(mesh.faceCount, 5488);
  ASSERT_EQ(mesh.vertexCount, 3 * mesh.faceCount);
  EXPECT_TRUE(Same(mesh.normals[1], {0, 0, 0}));
  int nextNew = 0;
  for (int i = 0; i < mesh.faceCount; ++i) {
    const MeshFace& face = mesh.faces[i];
    SCOPED_TRACE(i);
    ASSERT_LE(face.normal[0], nextNew);
    nextNew += face.normal[0] == nextNew;
    for (int c = 0; c < 3; ++c) {
      ASSERT_EQ(face.vertex[c], 3 * i + c);
      ASSERT_EQ(face.normal[c], face.normal[0]);
    }
    if (i % 2 == 1) {
      ASSERT_EQ(face.normal[0], 1);
      ASSERT_TRUE(Same(Corner(i, 0), Corner(i, 2)));
      continue;
    }
    ASSERT_NE(face.normal[0], 1);
    // The stored normal is the unit normal of the corners, counter-clockwise seen from its side.
    const Vec3 n = FaceNormal(i), p = Corner(i, 0), q = Corner(i, 1), r = Corner(i, 2);
    const double u[3] = {q.x - p.x, q.y - p.y, q.z - p.z}, v[3] = {r.x - p.x, r.y - p.y, r.z - p.z};
    const double c[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                         u[0] * v[1] - u[1] * v[0]};
    const double length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    const double stored[3] = {n.x, n.y, n.z};
    ASSERT_GT(length, 0.0);
    for (int k = 0; k < 3; ++k) {
      ASSERT_NEAR(stored[k], c[k] / length, kNormalTolerance) << "component " << k;
    }
    if (i % 4 == 0) {
      for (int c = 0; c < 3; ++c) {
        ASSERT_TRUE(Same(Corner(i + 2, c), Corner(i, 2 - c)));
      }
      ASSERT_TRUE(Same(FaceNormal(i + 2), {-n.x, -n.y, -n.z}));
    }
  }
  EXPECT_EQ(nextNew, mesh.normalCount);
}

TEST(MeshData, TellingRows) {
  const struct {
    const Vec3* array;
    int entry;
    Vec3 value;
  } values[] = {
      {mesh.vertices, 0, {7.714286f, 21.420984f, -3}},
      {mesh.vertices, 1, {7.216450f, 21.464870f, -6.158153f}},
      {mesh.vertices, 2, {9, 21.849556f, -3}},
      {mesh.vertices, 16461, {-9, -3, -3}},
      {mesh.normals, 0, {0.315602f, -0.946804f, -0.062907f}},
      {mesh.normals, 3, {0.315108f, -0.946974f, -0.062832f}},
      {mesh.normals, 2744, {0.315601f, -0.946804f, 0.062907f}},
  };
  for (const auto& row : values) {
    const Vec3 v = row.array[row.entry];
    EXPECT_TRUE(Same(v, row.value)) << (row.array == mesh.normals ? "normal " : "vertex ")
                                    << row.entry << ": " << v.x << ", " << v.y << ", " << v.z;
  }
}

}  // namespace
