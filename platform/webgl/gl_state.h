// The state of one context of the OpenGL 1.1 subset, shared by the files of platform/webgl/.
#pragma once

#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <string>
#include <vector>

#include "platform/webgl/include/GL/gl.h"
#include "platform/webgl/webgl.h"

// Internal names of the subset live in this namespace; only the GL entry points and the Gl*
// records are global.
namespace webgl {

constexpr int kLightCount = 8;
constexpr int kModelviewDepth = 32;
constexpr int kProjectionDepth = 4;

struct Matrix {
  GLfloat m[16];  // column-major, as OpenGL
};

}  // namespace webgl

struct GlLight {
  GLfloat ambient[4] = {0, 0, 0, 1};
  GLfloat diffuse[4] = {0, 0, 0, 1};
  GLfloat specular[4] = {0, 0, 0, 1};
  GLfloat position[4] = {0, 0, 1, 0};  // the direction, in eye coordinates
  bool enabled = false;
};

struct GlMaterial {
  GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
  GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
  GLfloat specular[4] = {0, 0, 0, 1};
  GLfloat shininess = 0;
};

// One mipmap level of the texture as uploaded (RGBA bytes), kept to upload again after the
// context was lost.
struct GlTextureLevel {
  int width = 0;
  int height = 0;
  std::vector<GLubyte> texels;
};

// A shading program made for one combination of the states that shape its code (its key, see
// program.cpp); program 0 when it could not be made.
struct GlProgram {
  unsigned key = 0;
  GLuint program = 0;
  // Uniform locations by the names in program.cpp, in the same order.
  std::vector<GLint> uniforms;
};

// A filled glEnd batch kept from one frame to the next (see immediate.cpp): the vertices as
// recorded, and once the same batch came twice, its distinct vertices and the indices that
// rebuild it, on the GPU.
struct GlBatchCache {
  std::vector<GLfloat> vertices;
  GLuint vertexBuffer = 0;
  GLuint indexBuffer = 0;
  int indexCount = 0;
  bool uploaded = false;
};

struct GlContext {
  int webgl = 0;       // EMSCRIPTEN_WEBGL_CONTEXT_HANDLE
  std::string canvas;  // the CSS selector of its canvas
  // Between webglcontextlost and webglcontextrestored nothing reaches the GPU; the state below
  // lives here, so the objects made again on restoring draw the same picture.
  bool lost = false;
  GlFramebufferFormat format;
  GLuint framebuffer = 0;
  GLuint colorBuffer = 0;
  GLuint depthBuffer = 0;
  GLuint vertexBuffer = 0;
  GLuint texture = 0;
  // Shading programs by key, made as states come; depths rounded to 16 bits in all of them when
  // the depth buffer has more bits than the 16 asked for.
  std::vector<GlProgram> programs;
  bool roundDepth = false;

  // Capabilities.
  bool lighting = false;
  bool fog = false;
  bool depthTest = false;
  bool cullFace = false;
  bool texture2d = false;

  GLfloat clearColor[4] = {0, 0, 0, 0};
  GLenum polygonMode[2] = {GL_FILL, GL_FILL};  // front, back

  GLenum matrixMode = GL_MODELVIEW;
  std::vector<webgl::Matrix> modelview;
  std::vector<webgl::Matrix> projection;

  GlLight lights[webgl::kLightCount];
  GlMaterial materials[2];                                     // front, back
  const GLfloat lightModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1};  // OpenGL's default, kept
  bool twoSide = false;

  GLfloat fogDensity = 1;  // GL_EXP2 fog
  GLfloat fogColor[4] = {0, 0, 0, 0};

  GLenum textureEnvMode = GL_MODULATE;
  bool textureAlpha = false;  // the texture has an alpha of its own (RGBA)
  // GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, with
  // OpenGL's defaults (WebGL's minifying default differs).
  GLint textureParameters[4] = {GL_LINEAR, GL_NEAREST_MIPMAP_LINEAR, GL_REPEAT, GL_REPEAT};
  std::vector<GlTextureLevel> textureLevels;

  // Immediate mode: position and normal of each vertex since glBegin.
  bool insideBegin = false;
  GLfloat normal[3] = {0, 0, 1};
  std::vector<GLfloat> vertices;
  // In line mode, the batch as drawn: edges, then triangles still filled; each vertex with
  // position, normal and facing (see immediate.cpp).
  std::vector<GLfloat> batch;
  int batchLines = 0;
  int batchTriangles = 0;
  // Filled batches by their place in the frame, and the place of the next one.
  std::vector<GlBatchCache> batchCaches;
  size_t batchInFrame = 0;
};

namespace webgl {

// The current context, or null.
extern GlContext* currentContext;

Matrix IdentityMatrix();
Matrix Multiply(const Matrix& a, const Matrix& b);
Matrix& CurrentMatrix(GlContext& context);
// Upper 3x3 of the inverse transpose, column-major: the transform of normals.
void NormalMatrix(const Matrix& modelview, GLfloat normal[9]);

// Starts a new frame for the batch cache: the next glEnd is compared with the frame's first.
void EndBatchFrame(GlContext& context);
// Forgets the cached batches, so that the next glEnd uploads again: their buffers died with a
// lost context, so they are forgotten, not deleted.
void ForgetBatchCaches(GlContext& context);

// Makes every GPU object the context draws with (program, framebuffer, buffer, texture with its
// parameters and images) from the context's state: once when it is created, and again when a
// lost context is restored, whose old objects died with it and are forgotten, not deleted.
// False on failure.
bool MakeGpuObjects(GlContext& context);
// Uploads one level of the texture as kept in the context.
void UploadTextureLevel(const GlContext& context, int level);
// Picks the shading program for the current state and loads its uniforms before a draw; lines
// are not culled by WebGL, and givenFacing tells that the vertices carry their facing. False when
// there is no program to draw with.
bool LoadShadingState(GlContext& context, bool lines, bool givenFacing);

}  // namespace webgl
