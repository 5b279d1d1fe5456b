// The rule the built-in mesh follows: the twisted ribbon's grid, its faces in drawing order and
// their normals, as six-decimal values. The generator writes the tables from it; the browser build
// computes them from it before the first frame. It depends on nothing but the standard library,
// so the generator builds with the build machine's own compiler.
#pragma once

#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace mesh_rule {

// Positions and normals as six-decimal values; each becomes a float only when written out.
using Point = std::array<double, 3>;

struct Face {
  int vertex[3];
  int normal;
};

struct Mesh {
  std::vector<Face> faces;
  std::vector<Point> vertices;
  std::vector<Point> normals;
  std::map<Point, int> normalIndex;
};

constexpr int kSteps = 50;
constexpr int kColumns = 15;
constexpr double kPi = 3.14159265358979323846;

// Six decimal places, decided on the exact binary value with ties to even, as printf's "%.6f"
// decides them, and read back as the nearest double, as strtod reads that text: without either,
// which would take most of the time the browser spends on the mesh. The product's rounding error,
// exact through fma, settles the values near a tie; dividing the whole number by 10^6 rounds once,
// to the double nearest the six-decimal value.
inline double RoundSixDecimals(double value) {
  const double product = value * 1e6;
  const double error = std::fma(value, 1e6, -product);  // product + error is value * 10^6
  double whole = std::floor(product);
  const double beyondHalf = (product - whole) - 0.5 + error;
  if (beyondHalf > 0 || (beyondHalf == 0 && std::fmod(whole, 2.0) != 0)) {
    whole += 1;
  }
  return whole / 1e6 + 0.0;  // + 0 turns -0 into 0
}

inline Point GridPoint(int k, int j) {
  const double phi = 6.0 * kPi * k / 49.0;
  const double s = -9.0 + 9.0 * j / 7.0;
  return {RoundSixDecimals(s * std::cos(phi) + 3.0 * std::sin(phi)),
          RoundSixDecimals(s / 3.0 + phi),
          RoundSixDecimals(s * std::sin(phi) - 3.0 * std::cos(phi))};
}

// The unit normal of the side from which the corners run counter-clockwise; zero for a sliver.
inline Point FaceNormal(const Point& p0, const Point& p1, const Point& p2) {
  const double u[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
  const double v[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
  const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                       u[0] * v[1] - u[1] * v[0]};
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (length == 0.0) {
    return {0.0, 0.0, 0.0};
  }
  return {RoundSixDecimals(n[0] / length), RoundSixDecimals(n[1] / length),
          RoundSixDecimals(n[2] / length)};
}

// Normals are kept once each, in order of first use.
inline int NormalIndex(Mesh& mesh, const Point& normal) {
  const auto found = mesh.normalIndex.find(normal);
  if (found != mesh.normalIndex.end()) {
    return found->second;
  }
  const int index = int(mesh.normals.size());
  mesh.normals.push_back(normal);
  mesh.normalIndex.emplace(normal, index);
  return index;
}

inline void AppendFace(Mesh& mesh, const Point& p0, const Point& p1, const Point& p2) {
  const int first = int(mesh.vertices.size());
  mesh.vertices.insert(mesh.vertices.end(), {p0, p1, p2});
  mesh.faces.push_back({{first, first + 1, first + 2}, NormalIndex(mesh, FaceNormal(p0, p1, p2))});
}

// Each quad gives both windings of its two triangles, each followed by a sliver.
inline void AppendQuad(Mesh& mesh, const Point& a, const Point& b, const Point& c, const Point& d) {
  AppendFace(mesh, b, c, d);
  AppendFace(mesh, b, d, b);
  AppendFace(mesh, d, c, b);
  AppendFace(mesh, b, d, b);
  AppendFace(mesh, a, c, b);
  AppendFace(mesh, a, b, a);
  AppendFace(mesh, b, c, a);
  AppendFace(mesh, a, b, a);
}

inline Mesh BuildMesh() {
  Point grid[kSteps][kColumns];
  for (int k = 0; k < kSteps; ++k) {
    for (int j = 0; j < kColumns; ++j) {
      grid[k][j] = GridPoint(k, j);
    }
  }
  Mesh mesh;
  for (int j = kColumns - 2; j >= 0; --j) {
    for (int k = kSteps - 2; k >= 0; --k) {
      AppendQuad(mesh, grid[k][j], grid[k + 1][j], grid[k][j + 1], grid[k + 1][j + 1]);
    }
  }
  return mesh;
}

}  // namespace mesh_rule
