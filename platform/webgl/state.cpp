// Errors, capabilities, state queries, clearing, lights, materials, fog and the texture.
#include <cstring>

#include "platform/webgl/gl_state.h"

namespace webgl {

GlContext* currentContext = nullptr;

void SetError(GLenum error) {
  if (currentContext != nullptr && currentContext->error == GL_NO_ERROR) {
    currentContext->error = error;
  }
}

GlContext* ContextOutsideBegin() {
  if (currentContext != nullptr && currentContext->insideBegin) {
    SetError(GL_INVALID_OPERATION);
    return nullptr;
  }
  return currentContext;
}

extern "C" {

GLenum glGetError(void) {
  if (currentContext == nullptr) {
    return GL_NO_ERROR;
  }
  GLenum error = currentContext->error;
  currentContext->error = GL_NO_ERROR;
  return error;
}

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
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  if (bool* flag = Capability(*context, capability)) {
    *flag = on;
  } else {
    SetError(GL_INVALID_ENUM);
  }
}

void glEnable(GLenum capability) {
  SetCapability(capability, true);
}

void glDisable(GLenum capability) {
  SetCapability(capability, false);
}

GLboolean glIsEnabled(GLenum capability) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return GL_FALSE;
  }
  bool* flag = Capability(*context, capability);
  if (flag == nullptr) {
    SetError(GL_INVALID_ENUM);
    return GL_FALSE;
  }
  return *flag ? GL_TRUE : GL_FALSE;
}

void glGetFloatv(GLenum name, GLfloat* values) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr || values == nullptr) {
    return;
  }
  switch (name) {
    case GL_MODELVIEW_MATRIX:
      std::memcpy(values, context->modelview.back().m, sizeof(Matrix::m));
      break;
    case GL_PROJECTION_MATRIX:
      std::memcpy(values, context->projection.back().m, sizeof(Matrix::m));
      break;
    case GL_FOG_COLOR:
      std::memcpy(values, context->fogColor, sizeof context->fogColor);
      break;
    case GL_FOG_DENSITY:
      values[0] = context->fogDensity;
      break;
    default:
      SetError(GL_INVALID_ENUM);
  }
}

static GLfloat Clamped(GLfloat value) {
  return value < 0 ? 0 : (value > 1 ? 1 : value);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  if (GlContext* context = ContextOutsideBegin()) {
    const GLfloat colour[4] = {Clamped(red), Clamped(green), Clamped(blue), Clamped(alpha)};
    std::memcpy(context->clearColor, colour, sizeof colour);
  }
}

void glClear(GLbitfield mask) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  if ((mask & ~(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) != 0) {
    SetError(GL_INVALID_VALUE);
    return;
  }
  if (context->lost) {
    return;
  }
  const GLfloat* c = context->clearColor;
  emscripten_glClearColor(c[0], c[1], c[2], c[3]);
  emscripten_glDepthMask(GL_TRUE);
  emscripten_glClear(mask);
}

void glFlush(void) {
  GlContext* context = ContextOutsideBegin();
  // A single-buffered frame shows when flushed; a double-buffered one when swapped.
  if (context != nullptr && !context->format.doubleBuffer) {
    GlPresent();
  }
}

void glPolygonMode(GLenum face, GLenum mode) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  if ((mode != GL_FILL && mode != GL_LINE) ||
      (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)) {
    SetError(GL_INVALID_ENUM);
    return;
  }
  if (face != GL_BACK) {
    context->polygonMode[0] = mode;
  }
  if (face != GL_FRONT) {
    context->polygonMode[1] = mode;
  }
}

// WebGL draws lines one pixel wide only.
void glLineWidth(GLfloat width) {
  if (ContextOutsideBegin() != nullptr && width != 1.0f) {
    SetError(width <= 0 ? GL_INVALID_VALUE : GL_INVALID_OPERATION);
  }
}

static GlLight* Light(GLenum light) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return nullptr;
  }
  if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kLightCount) {
    SetError(GL_INVALID_ENUM);
    return nullptr;
  }
  return &context->lights[light - GL_LIGHT0];
}

// A position is stored in eye coordinates: transformed by the modelview current now.
static void SetLightPosition(GlLight& light, const GLfloat* p) {
  const GLfloat* m = currentContext->modelview.back().m;
  for (int row = 0; row < 4; ++row) {
    light.position[row] =
        m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row] * p[3];
  }
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
  GlLight* target = Light(light);
  if (target == nullptr || values == nullptr) {
    return;
  }
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
      SetLightPosition(*target, values);
      break;
    default:
      glLightf(light, name, values[0]);
  }
}

void glLightf(GLenum light, GLenum name, GLfloat value) {
  GlLight* target = Light(light);
  if (target == nullptr) {
    return;
  }
  if (name < GL_CONSTANT_ATTENUATION || name > GL_QUADRATIC_ATTENUATION) {
    SetError(GL_INVALID_ENUM);
  } else if (value < 0) {
    SetError(GL_INVALID_VALUE);
  } else {
    target->attenuation[name - GL_CONSTANT_ATTENUATION] = value;
  }
}

void glLightModeli(GLenum name, GLint value) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  if (name == GL_LIGHT_MODEL_TWO_SIDE) {
    context->twoSide = value != 0;
  } else {
    SetError(GL_INVALID_ENUM);
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
    case GL_EMISSION:
      return material.emission;
    default:
      return nullptr;
  }
}

static void SetMaterial(GLenum face, GLenum name, const GLfloat* values, int count) {
  GlContext* context = currentContext;
  if (context == nullptr || values == nullptr) {
    return;
  }
  if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) {
    SetError(GL_INVALID_ENUM);
    return;
  }
  for (int side = 0; side < 2; ++side) {
    if (face == (side == 0 ? GL_BACK : GL_FRONT)) {
      continue;
    }
    GlMaterial& material = context->materials[side];
    if (name == GL_SHININESS) {
      if (values[0] < 0 || values[0] > 128) {
        SetError(GL_INVALID_VALUE);
        return;
      }
      material.shininess = values[0];
    } else if (GLfloat* target = MaterialValue(material, name); target != nullptr && count == 4) {
      std::memcpy(target, values, 4 * sizeof(GLfloat));
    } else {
      SetError(GL_INVALID_ENUM);
      return;
    }
  }
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values) {
  SetMaterial(face, name, values, name == GL_SHININESS ? 1 : 4);
}

void glMaterialf(GLenum face, GLenum name, GLfloat value) {
  SetMaterial(face, name, &value, 1);
}

void glFogf(GLenum name, GLfloat value) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  switch (name) {
    case GL_FOG_MODE:
      if (value != GL_LINEAR && value != GL_EXP && value != GL_EXP2) {
        SetError(GL_INVALID_ENUM);
        return;
      }
      context->fogMode = static_cast<GLenum>(value);
      break;
    case GL_FOG_DENSITY:
      if (value < 0) {
        SetError(GL_INVALID_VALUE);
        return;
      }
      context->fogDensity = value;
      break;
    case GL_FOG_START:
      context->fogStart = value;
      break;
    case GL_FOG_END:
      context->fogEnd = value;
      break;
    default:
      SetError(GL_INVALID_ENUM);
  }
}

void glFogi(GLenum name, GLint value) {
  glFogf(name, static_cast<GLfloat>(value));
}

void glFogfv(GLenum name, const GLfloat* values) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr || values == nullptr) {
    return;
  }
  if (name == GL_FOG_COLOR) {
    for (int i = 0; i < 4; ++i) {
      context->fogColor[i] = Clamped(values[i]);
    }
  } else {
    glFogf(name, values[0]);
  }
}

void glTexEnvi(GLenum target, GLenum name, GLint value) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  if (target != GL_TEXTURE_ENV || name != GL_TEXTURE_ENV_MODE ||
      (value != GL_MODULATE && value != GL_REPLACE)) {
    SetError(GL_INVALID_ENUM);
    return;
  }
  context->textureEnvMode = static_cast<GLenum>(value);
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  if (target != GL_TEXTURE_2D || name < GL_TEXTURE_MAG_FILTER || name > GL_TEXTURE_WRAP_T) {
    SetError(GL_INVALID_ENUM);
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
  GlContext* context = ContextOutsideBegin();
  if (context == nullptr) {
    return;
  }
  const bool opaque = internalFormat == GL_RGB || internalFormat == 3;
  if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE ||
      (format != GL_RGB && format != GL_RGBA) ||
      !(opaque || internalFormat == GL_RGBA || internalFormat == 4)) {
    SetError(GL_INVALID_ENUM);
    return;
  }
  if (level < 0 || level > kMaxTextureLevel || width < 0 || height < 0 || border != 0) {
    SetError(GL_INVALID_VALUE);
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
