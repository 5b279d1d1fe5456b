// DrawMesh in a real OpenGL context. Feedback mode shows what reaches the rasteriser: positions
// turn back into model units through an orthographic box, and each corner's normal comes back as
// its lit colour, 0.5 + 0.5 * n per channel (ambient 0.5, and for each axis a light along it
// with diffuse +0.5 and one against it with diffuse -0.5 in that axis's channel).
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/mesh.h"

namespace {

constexpr int kSize = 64;
// A box of kSize model units centred on the origin holds the whole mesh; one unit per pixel.
constexpr float kHalf = kSize / 2.0f;
// GL_3D_COLOR in RGBA mode: x, y, z and four colour values per vertex.
constexpr int kVertexFloats = 7;

struct Corner {
  Vec3 position;
  Vec3 normal;
};

struct Feedback {
  int polygons = 0;
  int points = 0;
  std::vector<Corner> corners;
};

void SetUpNormalLights() {
  const GLfloat half[4] = {0.5f, 0.5f, 0.5f, 1.0f}, one[4] = {1, 1, 1, 1}, none[4] = {0, 0, 0, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, half);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, one);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, one);
  for (int i = 0; i < 6; ++i) {
    const float sign = i < 3 ? 1.0f : -1.0f;
    GLfloat direction[4] = {0, 0, 0, 0}, diffuse[4] = {0, 0, 0, 1};
    direction[i % 3] = sign;
    diffuse[i % 3] = 0.5f * sign;
    glLightfv(GL_LIGHT0 + i, GL_POSITION, direction);
    glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0 + i, GL_SPECULAR, none);
    glEnable(GL_LIGHT0 + i);
  }
}

Feedback Decode(const GLfloat* p, const GLfloat* end) {
  Feedback result;
  while (p < end) {
    const GLenum token = GLenum(*p++);
    int count = 1;
    if (token == GL_POLYGON_TOKEN) {
      ++result.polygons;
      count = int(*p++);
    } else if (token == GL_POINT_TOKEN) {
      ++result.points;
    } else {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    for (int i = 0; i < count; ++i, p += kVertexFloats) {
      result.corners.push_back({{p[0] - kHalf, p[1] - kHalf, kHalf * (1 - 2 * p[2])},
                                {2 * p[3] - 1, 2 * p[4] - 1, 2 * p[5] - 1}});
    }
  }
  return result;
}

// Draws the mesh in feedback mode, polygons drawn as points, and decodes what came out.
Feedback Capture(const MeshObject& mesh) {
  std::vector<GLfloat> buffer(16464 * (kVertexFloats + 1));
  glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
  glEnable(GL_LIGHTING);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  DrawMeshObject(mesh);
  const GLint used = glRenderMode(GL_RENDER);
  glDisable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  EXPECT_GE(used, 0) << "feedback buffer overflow";
  return Decode(buffer.data(), buffer.data() + std::max(used, 0));
}

// Draws the mesh filled in white on black and counts the pixels it covers.
int CoveredPixels(const MeshObject& mesh) {
  glClear(GL_COLOR_BUFFER_BIT);
  DrawMeshObject(mesh);
  std::vector<GLubyte> pixels(kSize * kSize);
  glReadPixels(0, 0, kSize, kSize, GL_RED, GL_UNSIGNED_BYTE, pixels.data());
  return int(std::count_if(pixels.begin(), pixels.end(), [](GLubyte p) { return p != 0; }));
}

void ExpectNear(Vec3 actual, Vec3 expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class MeshDraw : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("mesh", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    context = SDL_GL_CreateContext(window);
    ASSERT_NE(context, nullptr) << SDL_GetError();
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-kHalf, kHalf, -kHalf, kHalf, -kHalf, kHalf);
    glMatrixMode(GL_MODELVIEW);
    SetUpNormalLights();
  }

  static void TearDownTestSuite() {
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
  }

  void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

  static SDL_Window* window;
  static SDL_GLContext context;
};

SDL_Window* MeshDraw::window = nullptr;
SDL_GLContext MeshDraw::context = nullptr;

// Every corner of every face arrives in order, each with the normal sent just before it.
TEST_F(MeshDraw, EveryCornerArrivesWithItsNormal) {
  const Feedback fed = Capture(meshObject);
  ASSERT_EQ(fed.points, meshObject.vertexCount);
  for (int i = 0; i < meshObject.faceCount; ++i) {
    for (int c = 0; c < 3; ++c) {
      const MeshFace& face = meshObject.faces[i];
      const Corner& corner = fed.corners[3 * i + c];
      SCOPED_TRACE(testing::Message() << "face " << i << " corner " << c);
      ExpectNear(corner.position, meshObject.vertices[face.vertex[c]], 1e-5);
      ExpectNear(corner.normal, meshObject.normals[face.normal[c]], 1e-6);
      if (HasFailure()) {
        return;
      }
    }
  }
}

// In fill mode the picture comes from the real triangles alone: the slivers cover nothing.
TEST_F(MeshDraw, SliversCoverNoPixels) {
  std::vector<MeshFace> real, slivers;
  for (int i = 0; i < meshObject.faceCount; ++i) {
    (i % 2 == 0 ? real : slivers).push_back(meshObject.faces[i]);
  }
  MeshObject mesh = meshObject;
  mesh.faces = slivers.data();
  mesh.faceCount = int(slivers.size());
  EXPECT_EQ(CoveredPixels(mesh), 0);
  mesh.faces = real.data();
  EXPECT_GT(CoveredPixels(mesh), 100);
}

TEST_F(MeshDraw, CountOfZeroOrLessDrawsNothingAndLeavesLineWidthOne) {
  for (int count : {0, -1, -5488}) {
    MeshObject mesh = meshObject;
    mesh.faceCount = count;
    glLineWidth(3.0f);
    const Feedback fed = Capture(mesh);
    EXPECT_EQ(fed.corners.size(), 0u) << "count " << count;
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f) << "count " << count;
  }
  glLineWidth(3.0f);
  DrawMesh();
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 1.0f);
}

}  // namespace
