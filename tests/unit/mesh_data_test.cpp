// The built-in mesh against the rule it is made by: the ribbon's grid, the eight faces per quad,
// flat normals, and the rows that tell at once whether the data is right.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "model/mesh.h"

namespace {

const MeshObject& mesh = meshObject;
constexpr double kPi = 3.14159265358979323846;

struct Point {
  double x, y, z;
};

// The exact grid point P(k, j): turn k of the helix, column j across the ribbon.
Point GridPoint(int k, int j) {
  const double phi = 6.0 * kPi * k / 49.0, s = -9.0 + 9.0 * j / 7.0;
  return {s * std::cos(phi) + 3.0 * std::sin(phi), s / 3.0 + phi,
          s * std::sin(phi) - 3.0 * std::cos(phi)};
}

// Unit normal of the side from which the corners run counter-clockwise.
Point UnitCross(Point p0, Point p1, Point p2) {
  const Point u = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
  const Point v = {p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
  const Point n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  return {n.x / length, n.y / length, n.z / length};
}

void ExpectNear(Vec3 actual, Point expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

bool operator==(Vec3 a, Vec3 b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

Vec3 Corner(int face, int c) {
  return mesh.vertices[mesh.faces[face].vertex[c]];
}
Vec3 FaceNormal(int face) {
  return mesh.normals[mesh.faces[face].normal[0]];
}

TEST(MeshData, DescriptorHoldsTheCounts) {
  EXPECT_STREQ(mesh.name, "0_0");
  EXPECT_EQ(mesh.faceCount, 5488);
  EXPECT_EQ(mesh.vertexCount, 16464);
  EXPECT_EQ(mesh.normalCount, 2745);
  EXPECT_EQ(mesh.reserved[0], 0u);
  EXPECT_EQ(mesh.reserved[1], 0u);
  EXPECT_EQ(mesh.reserved[2], 1u);
}

TEST(MeshData, FacesAreFlatWithOwnVerticesAndAlternateWithSlivers) {
  for (int i = 0; i < mesh.faceCount; ++i) {
    const MeshFace& face = mesh.faces[i];
    SCOPED_TRACE(i);
    for (int c = 0; c < 3; ++c) {
      ASSERT_EQ(face.vertex[c], 3 * i + c);
      ASSERT_EQ(face.normal[c], face.normal[0]);
      ASSERT_EQ(face.reserved[c], -1);
    }
    const Vec3 n = FaceNormal(i);
    if (i % 2 == 1) {
      ASSERT_EQ(face.normal[0], 1);
      ASSERT_TRUE(Corner(i, 0) == Corner(i, 2));
      continue;
    }
    ASSERT_NE(face.normal[0], 1);
    ASSERT_NEAR(std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z), 1.0, 1e-6);
  }
  EXPECT_TRUE(mesh.normals[1] == (Vec3{0, 0, 0}));
}

// Each quad of the grid, columns from the far edge inward and steps from the top down, gives
// eight faces: both windings of two triangles, each followed by a sliver along the diagonal.
// A real face's normal is that of the exact triangle, rounded.
TEST(MeshData, QuadsFollowTheGridInOrder) {
  for (int q = 0; q < 14 * 49; ++q) {
    const int j = 13 - q / 49, k = 48 - q % 49;
    const Point a = GridPoint(k, j), b = GridPoint(k + 1, j), c = GridPoint(k, j + 1),
                d = GridPoint(k + 1, j + 1);
    const Point expected[8][3] = {{b, c, d}, {b, d, b}, {d, c, b}, {b, d, b},
                                  {a, c, b}, {a, b, a}, {b, c, a}, {a, b, a}};
    SCOPED_TRACE(q);
    for (int f = 0; f < 8; ++f) {
      for (int corner = 0; corner < 3; ++corner) {
        ExpectNear(Corner(8 * q + f, corner), expected[f][corner], 2e-6);
      }
      if (f % 2 == 0) {
        const Point* t = expected[f];
        ExpectNear(FaceNormal(8 * q + f), UnitCross(t[0], t[1], t[2]), 3.2e-6);
      }
    }
    for (int f : {0, 4}) {
      const Vec3 n = FaceNormal(8 * q + f), reversed = FaceNormal(8 * q + f + 2);
      ASSERT_TRUE(reversed == (Vec3{-n.x, -n.y, -n.z})) << "face " << 8 * q + f;
    }
    if (HasFailure()) {
      return;
    }
  }
}

TEST(MeshData, PositionsStayOnTheGridWithinTheStatedBounds) {
  std::set<std::array<float, 3>> distinct;
  Vec3 low = mesh.vertices[0], high = low;
  for (int i = 0; i < mesh.vertexCount; ++i) {
    const Vec3 v = mesh.vertices[i];
    distinct.insert({v.x, v.y, v.z});
    low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
  }
  EXPECT_EQ(distinct.size(), 750u);
  ExpectNear(low, {-9.486826, -3.0, -9.481593}, 1e-6);
  ExpectNear(high, {9.486826, 21.849556, 9.482311}, 2e-6);
}

TEST(MeshData, NormalsAreDistinctAndNumberedInOrderOfFirstUse) {
  int nextNew = 0;
  for (int i = 0; i < mesh.faceCount; ++i) {
    const int index = mesh.faces[i].normal[0];
    ASSERT_LE(index, nextNew) << "face " << i;
    nextNew += index == nextNew;
  }
  EXPECT_EQ(nextNew, mesh.normalCount);
  std::set<std::array<float, 3>> distinct;
  for (int i = 0; i < mesh.normalCount; ++i) {
    distinct.insert({mesh.normals[i].x, mesh.normals[i].y, mesh.normals[i].z});
  }
  EXPECT_EQ(int(distinct.size()), mesh.normalCount);
}

TEST(MeshData, TellingRows) {
  const struct {
    int face, vertex, normal;
  } faces[] = {{0, 0, 0}, {1, 3, 1}, {2, 6, 2}, {3, 9, 1}, {4, 12, 3}, {5487, 16461, 1}};
  for (const auto& row : faces) {
    EXPECT_EQ(mesh.faces[row.face].vertex[0], row.vertex) << "face " << row.face;
    EXPECT_EQ(mesh.faces[row.face].normal[0], row.normal) << "face " << row.face;
  }

  const struct {
    const Vec3* array;
    int entry;
    Vec3 value;
  } values[] = {
      {mesh.vertices, 0, {7.714286f, 21.420984f, -3}},
      {mesh.vertices, 1, {7.216450f, 21.464870f, -6.158153f}},
      {mesh.vertices, 2, {9, 21.849556f, -3}},
      {mesh.vertices, 3, {7.714286f, 21.420984f, -3}},
      {mesh.vertices, 4, {9, 21.849556f, -3}},
      {mesh.vertices, 5, {7.714286f, 21.420984f, -3}},
      {mesh.vertices, 16461, {-9, -3, -3}},
      {mesh.vertices, 16462, {-7.216450f, -2.615315f, -6.158153f}},
      {mesh.vertices, 16463, {-9, -3, -3}},
      {mesh.normals, 0, {0.315602f, -0.946804f, -0.062907f}},
      {mesh.normals, 1, {0, 0, 0}},
      {mesh.normals, 2, {-0.315602f, 0.946804f, 0.062907f}},
      {mesh.normals, 3, {0.315108f, -0.946974f, -0.062832f}},
      {mesh.normals, 2744, {0.315601f, -0.946804f, 0.062907f}},
  };
  for (const auto& row : values) {
    const Vec3 v = row.array[row.entry];
    EXPECT_TRUE(v == row.value) << (row.array == mesh.normals ? "normal " : "vertex ") << row.entry
                                << ": " << v.x << ", " << v.y << ", " << v.z;
  }
}

}  // namespace
