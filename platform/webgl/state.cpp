// Capabilities, the matrix query, clearing, lights, materials, fog and the texture.
#include <cstring>

#include "platform/webgl/gl_state.h"

namespace webgl {

GlContext* currentContext = nullptr;

extern "C" {

// The flag behind a capability, or null for one the subset does not know.
static bool* Capability(GlContext& context, GLenum capability) {
  switch (capability) {
    case GL_LIGHTING:
      return &context.lighting;
    case GL_FOG:
      return &context.fog;
    case GL_DEPTH_TEST:
      return &context.depthTest;
    case GL_CULL_FACE:
      return &context.cullFace;
    case GL_TEXTURE_2D:
      return &context.texture2d;
    default:
      if (capability >= GL_LIGHT0 && capability < GL_LIGHT0 + kLightCount) {
        return &context.lights[capability - GL_LIGHT0].enabled;
      }
      return nullptr;
  }
}

static void SetCapability(GLenum capability, bool on) {
  if (bool* flag = currentContext != nullptr ? Capability(*currentContext, capability) : nullptr) {
    *flag = on;
  }
}

void glEnable(GLenum capability) {
  SetCapability(capability, true);
}

void glDisable(GLenum capability) {
  SetCapability(capability, false);
}

void glGetFloatv(GLenum name, GLfloat* values) {
  if (currentContext != nullptr && values != nullptr && name == GL_MODELVIEW_MATRIX) {
    std::memcpy(values, currentContext->modelview.back().m, sizeof(Matrix::m));
  }
}

static GLfloat Clamped(GLfloat value) {
  return value < 0 ? 0 : (value > 1 ? 1 : value);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  if (GlContext* context = currentContext) {
    const GLfloat colour[4] = {Clamped(red), Clamped(green), Clamped(blue), Clamped(alpha)};
    std::memcpy(context->clearColor, colour, sizeof colour);
  }
}

void glClear(GLbitfield mask) {
  GlContext* context = currentContext;
  if (context == nullptr || context->lost) {
    return;
  }
  const GLfloat* c = context->clearColor;
  emscripten_glClearColor(c[0], c[1], c[2], c[3]);
  emscripten_glDepthMask(GL_TRUE);
  emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void glFlush(void) {
  GlContext* context = currentContext;
  // A single-buffered frame shows when flushed; a double-buffered one when swapped.
  if (context != nullptr && !context->format.doubleBuffer) {
    GlPresent();
  }
}

void glPolygonMode(GLenum face, GLenum mode) {
  GlContext* context = currentContext;
  if (context == nullptr || (mode != GL_FILL && mode != GL_LINE)) {
    return;
  }
  if (face != GL_BACK) {
    context->polygonMode[0] = mode;
  }
  if (face != GL_FRONT) {
    context->polygonMode[1] = mode;
  }
}

// WebGL draws lines one pixel wide only, as the viewer asks.
void glLineWidth(GLfloat) {}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
  if (currentContext == nullptr || values == nullptr || light < GL_LIGHT0 ||
      light >= GL_LIGHT0 + kLightCount) {
    return;
  }
  GlLight* target = &currentContext->lights[light - GL_LIGHT0];
  switch (name) {
    case GL_AMBIENT:
      std::memcpy(target->ambient, values, sizeof target->ambient);
      break;
    case GL_DIFFUSE:
      std::memcpy(target->diffuse, values, sizeof target->diffuse);
      break;
    case GL_SPECULAR:
      std::memcpy(target->specular, values, sizeof target->specular);
      break;
    case GL_POSITION:
      std::memcpy(target->position, values, sizeof target->position);
      break;
    default:
      break;
  }
}

void glLightModeli(GLenum name, GLint value) {
  if (currentContext != nullptr && name == GL_LIGHT_MODEL_TWO_SIDE) {
    currentContext->twoSide = value != 0;
  }
}

// Materials may change between glBegin and glEnd in OpenGL; here they apply per glEnd.
static GLfloat* MaterialValue(GlMaterial& material, GLenum name) {
  switch (name) {
    case GL_AMBIENT:
      return material.ambient;
    case GL_DIFFUSE:
      return material.diffuse;
    case GL_SPECULAR:
      return material.specular;
    default:
      return nullptr;
  }
}

static void SetMaterial(GLenum face, GLenum name, const GLfloat* values) {
  if (currentContext == nullptr || values == nullptr) {
    return;
  }
  for (int side = 0; side < 2; ++side) {
    if (face == (side == 0 ? GL_BACK : GL_FRONT)) {
      continue;
    }
    GlMaterial& material = currentContext->materials[side];
    if (name == GL_SHININESS && values[0] >= 0 && values[0] <= 128) {
      material.shininess = values[0];
    } else if (GLfloat* target = MaterialValue(material, name)) {
      std::memcpy(target, values, 4 * sizeof(GLfloat));
    }
  }
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values) {
  SetMaterial(face, name, values);
}

void glMaterialf(GLenum face, GLenum name, GLfloat value) {
  if (name == GL_SHININESS) {
    SetMaterial(face, name, &value);
  }
}

void glFogf(GLenum name, GLfloat value) {
  if (currentContext != nullptr && name == GL_FOG_DENSITY && value >= 0) {
    currentContext->fogDensity = value;
  }
}

// GL_FOG_MODE: the subset's one mode is GL_EXP2.
void glFogi(GLenum name, GLint value) {
  glFogf(name, static_cast<GLfloat>(value));
}

void glFogfv(GLenum name, const GLfloat* values) {
  if (currentContext == nullptr || values == nullptr) {
    return;
  }
  if (name == GL_FOG_COLOR) {
    for (int i = 0; i < 4; ++i) {
      currentContext->fogColor[i] = Clamped(values[i]);
    }
  } else {
    glFogf(name, values[0]);
  }
}

void glTexEnvi(GLenum target, GLenum name, GLint value) {
  GlContext* context = currentContext;
  if (context != nullptr && target == GL_TEXTURE_ENV && name == GL_TEXTURE_ENV_MODE &&
      (value == GL_MODULATE || value == GL_REPLACE)) {
    context->textureEnvMode = static_cast<GLenum>(value);
  }
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
  GlContext* context = currentContext;
  if (context == nullptr || target != GL_TEXTURE_2D || name < GL_TEXTURE_MAG_FILTER ||
      name > GL_TEXTURE_WRAP_T) {
    return;
  }
  context->textureParameters[name - GL_TEXTURE_MAG_FILTER] = value;
  if (!context->lost) {
    emscripten_glBindTexture(GL_TEXTURE_2D, context->texture);
    emscripten_glTexParameteri(target, name, value);
  }
}

// Levels of a texture up to 32768 texels wide.
constexpr GLint kMaxTextureLevel = 15;

// OpenGL's default unpack alignment is 4 bytes per row.
static int RowBytes(int width, int components) {
  return (width * components + 3) / 4 * 4;
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
  GlContext* context = currentContext;
  const bool opaque = internalFormat == GL_RGB || internalFormat == 3;
  if (context == nullptr || target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE ||
      (format != GL_RGB && format != GL_RGBA) ||
      !(opaque || internalFormat == GL_RGBA || internalFormat == 4) || level < 0 ||
      level > kMaxTextureLevel || width < 0 || height < 0 || border != 0) {
    return;
  }
  // WebGL takes RGBA bytes; a three-component texture reads alpha 1 whatever was supplied.
  const int components = format == GL_RGBA ? 4 : 3;
  if (context->textureLevels.size() <= static_cast<size_t>(level)) {
    context->textureLevels.resize(level + 1);
  }
  GlTextureLevel& image = context->textureLevels[level];
  image.width = width;
  image.height = height;
  image.texels.assign(4 * width * height, 255);
  const auto* source = static_cast<const GLubyte*>(pixels);
  for (int row = 0; source != nullptr && row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const GLubyte* in = source + row * RowBytes(width, components) + column * components;
      GLubyte* out = &image.texels[4 * (row * width + column)];
      std::memcpy(out, in, 3);
      out[3] = components == 4 && !opaque ? in[3] : 255;
    }
  }
  context->textureAlpha = !opaque;
  if (!context->lost) {
    UploadTextureLevel(*context, level);
  }
}

}  // extern "C"

}  // namespace webgl
