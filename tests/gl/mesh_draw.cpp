// DrawMesh in a real OpenGL context. Feedback mode shows what reaches the rasteriser: positions in
// a box of one model unit per pixel, and each corner's normal as its GL_NORMAL_MAP coordinates.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/mesh.h"

namespace {

constexpr int kSize = 64;  // the window's side, and the box (in model units) around the mesh
constexpr float kHalf = kSize / 2.0f;

class MeshDraw : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    auto* window =
        SDL_CreateWindow("mesh", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(SDL_GL_CreateContext(window), nullptr) << SDL_GetError();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-kHalf, kHalf, -kHalf, kHalf, -kHalf, kHalf);
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 3; ++i) {
      glTexGeni(GL_S + i, GL_TEXTURE_GEN_MODE, GL_NORMAL_MAP);
      glEnable(GL_TEXTURE_GEN_S + i);
    }
    // Coordinates are made only for a complete texture; a white one leaves fragments white.
    const GLubyte white[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
  }

  // Draws the mesh in feedback mode with polygons as points: per corner a GL_POINT_TOKEN, then
  // x, y, z in the window, the colour and s, t, r, q. Checks that the line width is 1 afterwards.
  static std::vector<GLfloat> Capture(const MeshObject& mesh) {
    std::vector<GLfloat> fed(12 * meshObject.vertexCount + 1);
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    glLineWidth(3.0f);
    glFeedbackBuffer(GLsizei(fed.size()), GL_3D_COLOR_TEXTURE, fed.data());
    glRenderMode(GL_FEEDBACK);
    DrawMeshObject(mesh);
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    fed.resize(std::max(used, 0));
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f);
    return fed;
  }
};

TEST_F(MeshDraw, EveryCornerArrivesInOrderWithItsNormal) {
  const std::vector<GLfloat> fed = Capture(meshObject);
  ASSERT_EQ(fed.size(), 12u * meshObject.vertexCount);
  for (int i = 0; i < 3 * meshObject.faceCount; ++i) {
    const MeshFace& face = meshObject.faces[i / 3];
    const Vec3 v = meshObject.vertices[face.vertex[i % 3]];
    const Vec3 n = meshObject.normals[face.normal[i % 3]];
    const GLfloat* p = &fed[12 * i];
    const GLfloat expected[] = {GL_POINT_TOKEN, v.x + kHalf, v.y + kHalf, 0.5f - v.z / kSize};
    for (int k = 0; k < 4; ++k) {
      ASSERT_NEAR(p[k], expected[k], 1e-5) << "corner " << i << ", value " << k;
    }
    ASSERT_TRUE(p[8] == n.x && p[9] == n.y && p[10] == n.z) << "normal of corner " << i;
  }
}

}  // namespace
