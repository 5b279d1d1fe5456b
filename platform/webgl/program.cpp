// The shading program that stands in for the fixed-function pipeline, the context's framebuffer
// and its presentation on the canvas.
#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "platform/webgl/gl_state.h"

namespace webgl {

namespace {

// Lighting per vertex, as OpenGL 1.1 defines it for directional lights and a non-local viewer.
// Each program is made for one combination of the states that shape its code (see ShadingKey):
// the enabled lights are counted and their loop unrolled, they come with their unit direction and
// half vector made once per draw, their ambient terms are folded into the scene colour, and the
// products of light and material colours are formed on the CPU. A CPU rasteriser runs both sides
// of a branch and cannot fold uniforms, so code a state does not need would be paid for at every
// vertex and fragment.
// LIGHTS: the enabled lights; TWO_SIDE: the back is lit too, and the fragment stage picks by
// the facing of the primitive, or by GIVEN_FACING's attribute (1 front, 0 back) for lines.
const char kVertexShader[] = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in float aFacing;
uniform mat4 uModelview;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
#if LIGHTS > 0
uniform vec4 uLightPosition[LIGHTS];
uniform vec3 uLightHalf[LIGHTS];
uniform vec3 uDiffuseProduct[2 * LIGHTS];
uniform vec3 uSpecularProduct[2 * LIGHTS];
#endif
uniform vec4 uSceneColor[2];
uniform float uShininess[2];
out vec4 vFront;
#ifdef TWO_SIDE
out vec4 vBack;
#endif
#ifdef FOG
out float vEyeDistance;
#endif
#ifdef GIVEN_FACING
out float vFacing;
#endif

vec4 Shade(int side, vec3 n) {
  vec3 c = uSceneColor[side].rgb;
#if LIGHTS > 0
  for (int i = 0; i < LIGHTS; ++i) {
    int k = side * LIGHTS + i;
    float nl = dot(n, uLightPosition[i].xyz);
    if (nl > 0.0) {
      float nh = max(dot(n, uLightHalf[i]), 0.0);
      float s = uShininess[side] == 0.0 ? 1.0 : (nh > 0.0 ? pow(nh, uShininess[side]) : 0.0);
      c += nl * uDiffuseProduct[k] + s * uSpecularProduct[k];
    }
  }
#endif
  return vec4(clamp(c, 0.0, 1.0), uSceneColor[side].a);
}

void main() {
  vec4 eye = uModelview * vec4(aPosition, 1.0);
  gl_Position = uProjection * eye;
#ifdef FOG
  vEyeDistance = abs(eye.z / eye.w);
#endif
#ifdef GIVEN_FACING
  vFacing = aFacing;
#endif
#ifdef LIGHTING
  vec3 n = uNormalMatrix * aNormal;
  vFront = Shade(0, n);
#ifdef TWO_SIDE
  vBack = Shade(1, -n);
#endif
#else
  vFront = vec4(1.0);
#endif
}
)";

// TEXTURE_MODE: 0 none, 1 GL_MODULATE, 2 GL_REPLACE; FOG: GL_EXP2 fog. SIXTEEN_BIT_DEPTH where the
// browser backs a 16-bit depth buffer with more bits (Firefox on Mesa gives 24): depths are rounded
// to 16 bits, so that coincident faces tie as they do in the 16-bit buffer the pixel format asked
// for.
const char kFragmentShader[] = R"(
precision highp float;
in vec4 vFront;
#ifdef TWO_SIDE
in vec4 vBack;
#endif
#ifdef GIVEN_FACING
in float vFacing;
#endif
#ifdef FOG
in float vEyeDistance;
#endif
uniform bool uTextureAlpha;
uniform sampler2D uTexture;
uniform float uFogDensity;
uniform vec4 uFogColor;
out vec4 fragColor;

void main() {
#if defined(GIVEN_FACING)
  vec4 c = vFacing > 0.5 ? vFront : vBack;
#elif defined(TWO_SIDE)
  vec4 c = gl_FrontFacing ? vFront : vBack;
#else
  vec4 c = vFront;
#endif
#if TEXTURE_MODE == 1
  c *= texture(uTexture, vec2(0.0));
#elif TEXTURE_MODE == 2
  vec4 t = texture(uTexture, vec2(0.0));
  c = vec4(t.rgb, uTextureAlpha ? t.a : c.a);
#endif
#ifdef FOG
  float dz = uFogDensity * vEyeDistance;
  c.rgb = mix(uFogColor.rgb, c.rgb, clamp(exp(-dz * dz), 0.0, 1.0));
#endif
  fragColor = c;
#ifdef SIXTEEN_BIT_DEPTH
  gl_FragDepth = floor(gl_FragCoord.z * 65535.0 + 0.5) / 65535.0;
#endif
}
)";

// Uniforms by their names in the shaders.
enum Uniform {
  uModelview,
  uProjection,
  uNormalMatrix,
  uLightPosition,
  uLightHalf,
  uDiffuseProduct,
  uSpecularProduct,
  uSceneColor,
  uShininess,
  uTextureAlpha,
  uFogDensity,
  uFogColor,
  kUniformCount
};

const char* const kUniformNames[kUniformCount] = {
    "uModelview", "uProjection",     "uNormalMatrix",    "uLightPosition",
    "uLightHalf", "uDiffuseProduct", "uSpecularProduct", "uSceneColor",
    "uShininess", "uTextureAlpha",   "uFogDensity",      "uFogColor",
};

// The states that shape a program's code, as bits of its key.
struct ShadingKey {
  bool lighting = false;
  int lights = 0;  // enabled
  bool twoSide = false;
  bool givenFacing = false;
  int textureMode = 0;
  bool fog = false;

  unsigned Bits() const {
    return unsigned(lighting) | unsigned(lights) << 1 | unsigned(twoSide) << 5 |
           unsigned(givenFacing) << 6 | unsigned(textureMode) << 7 | unsigned(fog) << 9;
  }
};

// Facing given per vertex matters only where the back is lit on its own.
ShadingKey KeyOf(const GlContext& context, bool givenFacing) {
  ShadingKey key;
  key.lighting = context.lighting;
  if (key.lighting) {
    for (const GlLight& light : context.lights) {
      key.lights += light.enabled ? 1 : 0;
    }
    key.twoSide = context.twoSide;
    key.givenFacing = key.twoSide && givenFacing;
  }
  key.textureMode = !context.texture2d ? 0 : (context.textureEnvMode == GL_MODULATE ? 1 : 2);
  key.fog = context.fog;
  return key;
}

std::string Defines(const ShadingKey& key, bool sixteenBitDepth) {
  std::string defines = "#version 300 es\n";
  defines += "#define LIGHTS " + std::to_string(key.lights) + "\n";
  defines += "#define TEXTURE_MODE " + std::to_string(key.textureMode) + "\n";
  const std::pair<bool, const char*> flags[] = {
      {key.lighting, "LIGHTING"},
      {key.twoSide, "TWO_SIDE"},
      {key.givenFacing, "GIVEN_FACING"},
      {key.fog, "FOG"},
      {sixteenBitDepth, "SIXTEEN_BIT_DEPTH"},
  };
  for (const auto& [on, name] : flags) {
    if (on) {
      defines += std::string("#define ") + name + "\n";
    }
  }
  return defines;
}

GLuint CompileShader(GLenum type, const char* source) {
  GLuint shader = emscripten_glCreateShader(type);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  GLint compiled = 0;
  emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == 0) {
    char log[1024] = {};
    emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "ribbon: shader: %s\n", log);
  }
  return shader;
}

// The program for one key, or one whose program is 0 when it failed to compile or link.
GlProgram LinkProgram(const ShadingKey& key, bool sixteenBitDepth) {
  GlProgram shading;
  shading.key = key.Bits();
  const std::string defines = Defines(key, sixteenBitDepth);
  const std::string vertex = defines + kVertexShader;
  const std::string fragment = defines + kFragmentShader;
  GLuint program = emscripten_glCreateProgram();
  emscripten_glAttachShader(program, CompileShader(GL_VERTEX_SHADER, vertex.c_str()));
  emscripten_glAttachShader(program, CompileShader(GL_FRAGMENT_SHADER, fragment.c_str()));
  emscripten_glLinkProgram(program);
  GLint linked = 0;
  emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked == 0) {
    std::fprintf(stderr, "ribbon: shading program %#x does not link\n", shading.key);
    return shading;
  }
  shading.program = program;
  shading.uniforms.resize(kUniformCount);
  for (int i = 0; i < kUniformCount; ++i) {
    shading.uniforms[i] = emscripten_glGetUniformLocation(program, kUniformNames[i]);
  }
  return shading;
}

// The context's program for the key, made the first time the key comes.
const GlProgram& ShadingProgram(GlContext& context, const ShadingKey& key) {
  const unsigned bits = key.Bits();
  for (const GlProgram& shading : context.programs) {
    if (shading.key == bits) {
      return shading;
    }
  }
  context.programs.push_back(LinkProgram(key, context.roundDepth));
  return context.programs.back();
}

// The framebuffer the context draws into: the canvas's own has no 16-bit depth buffer. True when
// the depth buffer has more bits than asked for.
bool CreateFramebuffer(GlContext& context) {
  const GlFramebufferFormat& format = context.format;
  emscripten_glGenFramebuffers(1, &context.framebuffer);
  emscripten_glBindFramebuffer(GL_FRAMEBUFFER, context.framebuffer);
  emscripten_glGenRenderbuffers(1, &context.colorBuffer);
  emscripten_glBindRenderbuffer(GL_RENDERBUFFER, context.colorBuffer);
  emscripten_glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, format.width, format.height);
  emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                       context.colorBuffer);
  if (format.depthBits > 0) {
    emscripten_glGenRenderbuffers(1, &context.depthBuffer);
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, context.depthBuffer);
    emscripten_glRenderbufferStorage(
        GL_RENDERBUFFER, format.depthBits > 16 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16,
        format.width, format.height);
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                         context.depthBuffer);
  }
  emscripten_glViewport(0, 0, format.width, format.height);
  GLint depthBits = 0;
  if (format.depthBits > 0) {
    emscripten_glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE,
                                            &depthBits);
  }
  return depthBits > format.depthBits;
}

void Uniform4(GLint location, const GLfloat* values, int count = 1) {
  emscripten_glUniform4fv(location, count, values);
}

void Normalize(GLfloat v[3]) {
  const GLfloat length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (int i = 0; i < 3; ++i) {
    v[i] = length > 0 ? v[i] / length : 0;
  }
}

// The enabled lights in order, with the products of their colours and each side's material.
// A light's direction and half vector are unit vectors here; a zero half vector (a light straight
// from behind) stays zero and gives no highlight.
struct LightUniforms {
  GLfloat position[4 * kLightCount];
  GLfloat half[3 * kLightCount];
  GLfloat ambient[2 * 3 * kLightCount];
  GLfloat diffuse[2 * 3 * kLightCount];
  GLfloat specular[2 * 3 * kLightCount];
  GLfloat scene[8];
  GLfloat shininess[2];
};

void AddLight(const GlContext& context, const GlLight& light, int i, int count,
              LightUniforms& out) {
  std::memcpy(&out.position[4 * i], light.position, sizeof light.position);
  GLfloat* half = &out.half[3 * i];
  Normalize(&out.position[4 * i]);
  for (int c = 0; c < 3; ++c) {
    half[c] = out.position[4 * i + c] + (c == 2 ? 1 : 0);
  }
  Normalize(half);
  for (int side = 0; side < 2; ++side) {
    const GlMaterial& material = context.materials[side];
    const int k = 3 * (side * count + i);
    for (int c = 0; c < 3; ++c) {
      out.ambient[k + c] = material.ambient[c] * light.ambient[c];
      out.diffuse[k + c] = material.diffuse[c] * light.diffuse[c];
      out.specular[k + c] = material.specular[c] * light.specular[c];
    }
  }
}

void LoadLighting(const GlContext& context, const ShadingKey& key, const std::vector<GLint>& u) {
  LightUniforms lit;
  int i = 0;
  for (const GlLight& light : context.lights) {
    if (light.enabled) {
      AddLight(context, light, i++, key.lights, lit);
    }
  }
  for (int side = 0; side < 2; ++side) {
    const GlMaterial& material = context.materials[side];
    for (int c = 0; c < 3; ++c) {
      GLfloat scene = material.ambient[c] * context.lightModelAmbient[c];
      for (int light = 0; light < key.lights; ++light) {
        scene += lit.ambient[3 * (side * key.lights + light) + c];
      }
      lit.scene[4 * side + c] = scene;
    }
    lit.scene[4 * side + 3] = material.diffuse[3];
    lit.shininess[side] = material.shininess;
  }
  Uniform4(u[uSceneColor], lit.scene, 2);
  emscripten_glUniform1fv(u[uShininess], 2, lit.shininess);
  if (key.lights == 0) {
    return;
  }
  Uniform4(u[uLightPosition], lit.position, key.lights);
  emscripten_glUniform3fv(u[uLightHalf], key.lights, lit.half);
  emscripten_glUniform3fv(u[uDiffuseProduct], 2 * key.lights, lit.diffuse);
  emscripten_glUniform3fv(u[uSpecularProduct], 2 * key.lights, lit.specular);
}

}  // namespace

bool MakeGpuObjects(GlContext& context) {
  ForgetBatchCaches(context);
  context.programs.clear();
  context.roundDepth = CreateFramebuffer(context) && context.format.depthBits == 16;
  // The program for the present state, made now so that a context that cannot shade fails here.
  if (ShadingProgram(context, KeyOf(context, false)).program == 0) {
    return false;
  }
  emscripten_glGenBuffers(1, &context.vertexBuffer);
  emscripten_glGenTextures(1, &context.texture);
  emscripten_glBindTexture(GL_TEXTURE_2D, context.texture);
  for (int i = 0; i < 4; ++i) {
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER + i,
                               context.textureParameters[i]);
  }
  for (size_t level = 0; level < context.textureLevels.size(); ++level) {
    UploadTextureLevel(context, static_cast<int>(level));
  }
  return true;
}

void UploadTextureLevel(const GlContext& context, int level) {
  const GlTextureLevel& image = context.textureLevels[level];
  emscripten_glBindTexture(GL_TEXTURE_2D, context.texture);
  emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  emscripten_glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                          GL_UNSIGNED_BYTE, image.texels.data());
}

bool LoadShadingState(GlContext& context, bool lines, bool givenFacing) {
  const ShadingKey key = KeyOf(context, givenFacing);
  const GlProgram& shading = ShadingProgram(context, key);
  if (shading.program == 0) {
    return false;
  }
  const std::vector<GLint>& u = shading.uniforms;
  emscripten_glUseProgram(shading.program);
  emscripten_glUniformMatrix4fv(u[uModelview], 1, GL_FALSE, context.modelview.back().m);
  emscripten_glUniformMatrix4fv(u[uProjection], 1, GL_FALSE, context.projection.back().m);
  if (key.lighting) {
    GLfloat normal[9];
    NormalMatrix(context.modelview.back(), normal);
    emscripten_glUniformMatrix3fv(u[uNormalMatrix], 1, GL_FALSE, normal);
    LoadLighting(context, key, u);
  }
  if (key.textureMode == 2) {
    emscripten_glUniform1i(u[uTextureAlpha], context.textureAlpha ? 1 : 0);
  }
  if (key.textureMode != 0) {
    emscripten_glBindTexture(GL_TEXTURE_2D, context.texture);
  }
  if (key.fog) {
    emscripten_glUniform1f(u[uFogDensity], context.fogDensity);
    Uniform4(u[uFogColor], context.fogColor);
  }
  bool depth = context.depthTest && context.depthBuffer != 0;
  (depth ? emscripten_glEnable : emscripten_glDisable)(GL_DEPTH_TEST);
  emscripten_glDepthFunc(GL_LESS);
  // Lines were culled before they were made; triangles are culled by WebGL.
  (context.cullFace && !lines ? emscripten_glEnable : emscripten_glDisable)(GL_CULL_FACE);
  return true;
}

namespace {

// The browser lost the context (a GPU reset, a tab sent to the background): preventing the
// default lets it be restored; until then the context draws nothing.
EM_BOOL OnContextLost(int, const void*, void* userData) {
  static_cast<GlContext*>(userData)->lost = true;
  return EM_TRUE;
}

// The context is back, empty: its objects are made again from the state kept here.
EM_BOOL OnContextRestored(int, const void*, void* userData) {
  auto* context = static_cast<GlContext*>(userData);
  emscripten_webgl_make_context_current(context->webgl);
  context->lost = !MakeGpuObjects(*context);
  if (currentContext != nullptr) {
    GlMakeCurrent(currentContext);
  }
  return EM_TRUE;
}

void WatchContext(GlContext* context, bool watch) {
  const char* canvas = context->canvas.c_str();
  emscripten_set_webglcontextlost_callback(canvas, context, EM_FALSE,
                                           watch ? OnContextLost : nullptr);
  emscripten_set_webglcontextrestored_callback(canvas, context, EM_FALSE,
                                               watch ? OnContextRestored : nullptr);
}

}  // namespace

}  // namespace webgl

using namespace webgl;

GlContext* GlCreateContext(const char* canvasSelector, const GlFramebufferFormat& format) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_FALSE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl =
      emscripten_webgl_create_context(canvasSelector, &attributes);
  if (webgl <= 0) {
    return nullptr;
  }
  auto* context = new GlContext;
  context->webgl = webgl;
  context->canvas = canvasSelector;
  context->format = format;
  context->modelview.assign(1, IdentityMatrix());
  context->projection.assign(1, IdentityMatrix());
  GlLight& light0 = context->lights[0];
  light0.diffuse[0] = light0.diffuse[1] = light0.diffuse[2] = 1;
  light0.specular[0] = light0.specular[1] = light0.specular[2] = 1;
  emscripten_webgl_make_context_current(webgl);
  const bool made = MakeGpuObjects(*context);
  GlMakeCurrent(currentContext);
  if (!made) {
    emscripten_webgl_destroy_context(webgl);
    delete context;
    return nullptr;
  }
  WatchContext(context, true);
  return context;
}

bool GlMakeCurrent(GlContext* context) {
  if (context == nullptr) {
    currentContext = nullptr;
    return true;
  }
  if (emscripten_webgl_make_context_current(context->webgl) != EMSCRIPTEN_RESULT_SUCCESS) {
    return false;
  }
  currentContext = context;
  if (!context->lost) {
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, context->framebuffer);
  }
  return true;
}

void GlDeleteContext(GlContext* context) {
  if (context == nullptr) {
    return;
  }
  if (currentContext == context) {
    currentContext = nullptr;
  }
  WatchContext(context, false);
  emscripten_webgl_destroy_context(context->webgl);
  delete context;
}

GlContext* GlCurrentContext() {
  return currentContext;
}

void GlPresent() {
  GlContext* context = currentContext;
  if (context == nullptr || context->lost) {
    return;
  }
  const int width = context->format.width;
  const int height = context->format.height;
  emscripten_glBindFramebuffer(GL_READ_FRAMEBUFFER, context->framebuffer);
  emscripten_glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  emscripten_glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                               GL_NEAREST);
  emscripten_glBindFramebuffer(GL_FRAMEBUFFER, context->framebuffer);
  EndBatchFrame(*context);
}
