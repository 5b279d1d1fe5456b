// Immediate mode: the vertices between glBegin and glEnd become one buffer and one draw.
//
// A filled batch that repeats the same batch of the previous frame byte for byte (a program that
// redraws one model, with only the matrices changed) is drawn from buffers already on the GPU,
// and indexed: corners with the same position and normal are one vertex there, so they are
// lit once. The triangles keep their order, so the picture is the same to the bit.
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "platform/webgl/gl_state.h"

namespace webgl {

namespace {

constexpr int kVertexFloats = 6;  // position, normal
constexpr int kBatchFloats = 7;   // position, normal, facing
// Filled batches cached per frame; a frame with more draws the rest from the stream.
constexpr size_t kCachedBatches = 4;

// Twice the signed area of a triangle in window coordinates, from clip coordinates (x, y, w):
// positive for counter-clockwise, OpenGL's default front face.
GLfloat WindowArea(const Matrix& clip, const GLfloat* a, const GLfloat* b, const GLfloat* c) {
  GLfloat p[3][3];
  const GLfloat* v[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    const GLfloat* m = clip.m;
    p[i][0] = m[0] * v[i][0] + m[4] * v[i][1] + m[8] * v[i][2] + m[12];
    p[i][1] = m[1] * v[i][0] + m[5] * v[i][1] + m[9] * v[i][2] + m[13];
    p[i][2] = m[3] * v[i][0] + m[7] * v[i][1] + m[11] * v[i][2] + m[15];
  }
  // The determinant of the homogeneous points keeps its sign through the division by w > 0.
  GLfloat determinant = p[0][0] * (p[1][1] * p[2][2] - p[2][1] * p[1][2]) -
                        p[1][0] * (p[0][1] * p[2][2] - p[2][1] * p[0][2]) +
                        p[2][0] * (p[0][1] * p[1][2] - p[1][1] * p[0][2]);
  return p[0][2] * p[1][2] * p[2][2] < 0 ? -determinant : determinant;
}

void AppendVertex(std::vector<GLfloat>& batch, const GLfloat* vertex, GLfloat facing) {
  batch.insert(batch.end(), vertex, vertex + kVertexFloats);
  batch.push_back(facing);
}

// Triangles in line mode become their three edges; the facing each triangle had picks the
// material its edges are lit with, and culled triangles leave no edges.
void BuildEdges(GlContext& context) {
  const Matrix clip = Multiply(context.projection.back(), context.modelview.back());
  const std::vector<GLfloat>& vertices = context.vertices;
  std::vector<GLfloat>& lines = context.batch;
  std::vector<GLfloat> filled;
  lines.clear();
  for (size_t t = 0; t + 3 * kVertexFloats <= vertices.size(); t += 3 * kVertexFloats) {
    const GLfloat* corner[3] = {&vertices[t], &vertices[t + kVertexFloats],
                                &vertices[t + 2 * kVertexFloats]};
    bool front = WindowArea(clip, corner[0], corner[1], corner[2]) > 0;
    if (context.cullFace && !front) {
      continue;
    }
    GLfloat facing = front ? 1.0f : 0.0f;
    if (context.polygonMode[front ? 0 : 1] == GL_FILL) {
      for (const GLfloat* v : corner) {
        AppendVertex(filled, v, facing);
      }
      continue;
    }
    for (int edge = 0; edge < 3; ++edge) {
      AppendVertex(lines, corner[edge], facing);
      AppendVertex(lines, corner[(edge + 1) % 3], facing);
    }
  }
  // Filled triangles (a face whose mode is still GL_FILL) follow the edges in the same buffer.
  context.batchTriangles = static_cast<int>(filled.size() / kBatchFloats);
  context.batchLines = static_cast<int>(lines.size() / kBatchFloats);
  lines.insert(lines.end(), filled.begin(), filled.end());
}

// Points the attributes at the bound array buffer, stride floats per vertex; without a facing
// of its own, a vertex takes the rasteriser's (a program without GIVEN_FACING).
void PointAttributes(int stride) {
  const GLsizei bytes = stride * sizeof(GLfloat);
  emscripten_glEnableVertexAttribArray(0);
  emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, bytes, nullptr);
  emscripten_glEnableVertexAttribArray(1);
  emscripten_glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, bytes,
                                   reinterpret_cast<void*>(3 * sizeof(GLfloat)));
  if (stride == kBatchFloats) {
    emscripten_glEnableVertexAttribArray(2);
    emscripten_glVertexAttribPointer(2, 1, GL_FLOAT, GL_FALSE, bytes,
                                     reinterpret_cast<void*>(6 * sizeof(GLfloat)));
  } else {
    emscripten_glDisableVertexAttribArray(2);
  }
}

void Draw(GlContext& context, const std::vector<GLfloat>& data, int stride, GLenum mode, int first,
          int count) {
  if (count == 0 || context.lost ||
      !LoadShadingState(context, mode == GL_LINES, stride == kBatchFloats)) {
    return;
  }
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, context.vertexBuffer);
  emscripten_glBufferData(GL_ARRAY_BUFFER, data.size() * sizeof(GLfloat), data.data(),
                          GL_STREAM_DRAW);
  PointAttributes(stride);
  emscripten_glDrawArrays(mode, first, count);
}

// A vertex's position and normal by their bits: equal bits shade and rasterise alike.
struct VertexBits {
  std::uint32_t bits[kVertexFloats];
  bool operator==(const VertexBits& other) const {
    return std::memcmp(bits, other.bits, sizeof bits) == 0;
  }
};

struct VertexBitsHash {
  size_t operator()(const VertexBits& vertex) const {
    size_t hash = 0;
    for (std::uint32_t word : vertex.bits) {
      hash = hash * 1000003u ^ word;
    }
    return hash;
  }
};

// Uploads the first count vertices of the batch as distinct vertices and indices into them.
void UploadIndexed(GlBatchCache& cache, int count) {
  std::unordered_map<VertexBits, std::uint32_t, VertexBitsHash> seen;
  std::vector<GLfloat> distinct;
  std::vector<std::uint32_t> indices(count);
  for (int i = 0; i < count; ++i) {
    VertexBits key;
    std::memcpy(key.bits, &cache.vertices[i * kVertexFloats], sizeof key.bits);
    auto [at, added] = seen.try_emplace(key, static_cast<std::uint32_t>(seen.size()));
    if (added) {
      distinct.insert(distinct.end(), &cache.vertices[i * kVertexFloats],
                      &cache.vertices[(i + 1) * kVertexFloats]);
    }
    indices[i] = at->second;
  }
  if (cache.vertexBuffer == 0) {
    emscripten_glGenBuffers(1, &cache.vertexBuffer);
    emscripten_glGenBuffers(1, &cache.indexBuffer);
  }
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, cache.vertexBuffer);
  emscripten_glBufferData(GL_ARRAY_BUFFER, distinct.size() * sizeof(GLfloat), distinct.data(),
                          GL_STATIC_DRAW);
  emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, cache.indexBuffer);
  emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(std::uint32_t),
                          indices.data(), GL_STATIC_DRAW);
  cache.indexCount = count;
  cache.uploaded = true;
}

void DrawIndexed(GlContext& context, const GlBatchCache& cache) {
  if (cache.indexCount == 0 || context.lost || !LoadShadingState(context, false, false)) {
    return;
  }
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, cache.vertexBuffer);
  PointAttributes(kVertexFloats);
  emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, cache.indexBuffer);
  emscripten_glDrawElements(GL_TRIANGLES, cache.indexCount, GL_UNSIGNED_INT, nullptr);
}

bool SameBytes(const std::vector<GLfloat>& a, const std::vector<GLfloat>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(GLfloat)) == 0;
}

// A filled batch: from the GPU when it repeats the same batch of the previous frame, otherwise
// streamed, and kept to compare the next frame's with.
void DrawFilled(GlContext& context, int count) {
  if (context.batchInFrame >= kCachedBatches) {
    Draw(context, context.vertices, kVertexFloats, GL_TRIANGLES, 0, count);
    return;
  }
  if (context.batchCaches.size() <= context.batchInFrame) {
    context.batchCaches.resize(context.batchInFrame + 1);
  }
  GlBatchCache& cache = context.batchCaches[context.batchInFrame++];
  if (!SameBytes(cache.vertices, context.vertices)) {
    // The recording buffer takes the old batch's storage; glBegin clears it.
    cache.vertices.swap(context.vertices);
    cache.uploaded = false;
    Draw(context, cache.vertices, kVertexFloats, GL_TRIANGLES, 0, count);
    return;
  }
  if (!cache.uploaded) {
    UploadIndexed(cache, count);
  }
  DrawIndexed(context, cache);
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
  GlContext* context = currentContext;
  if (context == nullptr || mode != GL_TRIANGLES) {
    return;
  }
  context->insideBegin = true;
  context->vertices.clear();
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  if (GlContext* context = currentContext) {
    context->normal[0] = x;
    context->normal[1] = y;
    context->normal[2] = z;
  }
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  GlContext* context = currentContext;
  if (context == nullptr || !context->insideBegin) {
    return;
  }
  const GLfloat* n = context->normal;
  context->vertices.insert(context->vertices.end(), {x, y, z, n[0], n[1], n[2]});
}

void glEnd(void) {
  GlContext* context = currentContext;
  if (context == nullptr || !context->insideBegin) {
    return;
  }
  context->insideBegin = false;
  // An incomplete last triangle is dropped, as OpenGL does.
  const int count = static_cast<int>(context->vertices.size() / kVertexFloats) / 3 * 3;
  if (context->polygonMode[0] == GL_FILL && context->polygonMode[1] == GL_FILL) {
    DrawFilled(*context, count);
    return;
  }
  BuildEdges(*context);
  Draw(*context, context->batch, kBatchFloats, GL_LINES, 0, context->batchLines);
  Draw(*context, context->batch, kBatchFloats, GL_TRIANGLES, context->batchLines,
       context->batchTriangles);
}

}  // extern "C"

void EndBatchFrame(GlContext& context) {
  context.batchInFrame = 0;
}

void ForgetBatchCaches(GlContext& context) {
  context.batchCaches.clear();
  context.batchInFrame = 0;
}

}  // namespace webgl
