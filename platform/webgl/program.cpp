// The shading program that stands in for the fixed-function pipeline, the context's framebuffer
// and its presentation on the canvas.
#include <emscripten/html5.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/webgl/gl_state.h"

namespace {

// Lighting per vertex, as OpenGL 1.1 defines it for a non-local viewer. Both sides are lit; the
// fragment stage picks by the facing of the primitive.
const char kVertexShader[] = R"(#version 300 es
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in float aFacing;
uniform mat4 uModelview;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform bool uTwoSide;
uniform int uLightCount;
uniform vec4 uLightPosition[8];
uniform vec4 uLightAmbient[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec3 uLightAttenuation[8];
uniform vec4 uSceneColor[2];
uniform vec4 uMaterialAmbient[2];
uniform vec4 uMaterialDiffuse[2];
uniform vec4 uMaterialSpecular[2];
uniform float uShininess[2];
out vec4 vFront;
out vec4 vBack;
out float vEyeDistance;
out float vFacing;

vec4 Shade(int side, vec3 eye, vec3 n) {
  vec3 c = uSceneColor[side].rgb;
  for (int i = 0; i < 8; ++i) {
    if (i >= uLightCount) break;
    vec4 p = uLightPosition[i];
    vec3 l = normalize(p.xyz);
    float attenuation = 1.0;
    if (p.w != 0.0) {
      vec3 d = p.xyz / p.w - eye;
      float distance = length(d);
      l = d / distance;
      vec3 k = uLightAttenuation[i];
      attenuation = 1.0 / (k.x + k.y * distance + k.z * distance * distance);
    }
    vec3 term = uMaterialAmbient[side].rgb * uLightAmbient[i].rgb;
    float nl = dot(n, l);
    if (nl > 0.0) {
      term += nl * uMaterialDiffuse[side].rgb * uLightDiffuse[i].rgb;
      float nh = max(dot(n, normalize(l + vec3(0.0, 0.0, 1.0))), 0.0);
      float s = uShininess[side] == 0.0 ? 1.0 : (nh > 0.0 ? pow(nh, uShininess[side]) : 0.0);
      term += s * uMaterialSpecular[side].rgb * uLightSpecular[i].rgb;
    }
    c += attenuation * term;
  }
  return vec4(clamp(c, 0.0, 1.0), uMaterialDiffuse[side].a);
}

void main() {
  vec4 eye = uModelview * vec4(aPosition, 1.0);
  gl_Position = uProjection * eye;
  vEyeDistance = abs(eye.z / eye.w);
  vFacing = aFacing;
  if (uLighting) {
    vec3 n = uNormalMatrix * aNormal;
    vFront = Shade(0, eye.xyz / eye.w, n);
    vBack = uTwoSide ? Shade(1, eye.xyz / eye.w, -n) : vFront;
  } else {
    vFront = vec4(1.0);
    vBack = vFront;
  }
}
)";

// Facing: 1 front, 0 back (given for lines), 0.5 take the rasteriser's. Compiled with
// SIXTEEN_BIT_DEPTH where the browser backs a 16-bit depth buffer with more bits (Firefox on
// Mesa gives 24): depths are rounded to 16 bits, so that coincident faces tie as they do in the
// 16-bit buffer the pixel format asked for.
const char kFragmentShader[] = R"(
precision highp float;
in vec4 vFront;
in vec4 vBack;
in float vEyeDistance;
in float vFacing;
uniform int uTextureMode;
uniform bool uTextureAlpha;
uniform sampler2D uTexture;
uniform int uFogMode;
uniform float uFogDensity;
uniform float uFogStart;
uniform float uFogEnd;
uniform vec4 uFogColor;
out vec4 fragColor;

void main() {
  bool front = vFacing > 0.75 || (vFacing > 0.25 && gl_FrontFacing);
  vec4 c = front ? vFront : vBack;
  if (uTextureMode != 0) {
    vec4 t = texture(uTexture, vec2(0.0));
    c = uTextureMode == 1 ? c * t : vec4(t.rgb, uTextureAlpha ? t.a : c.a);
  }
  if (uFogMode != 0) {
    float z = vEyeDistance;
    float f = uFogMode == 1 ? (uFogEnd - z) / (uFogEnd - uFogStart)
            : uFogMode == 2 ? exp(-uFogDensity * z)
            : exp(-(uFogDensity * z) * (uFogDensity * z));
    c.rgb = mix(uFogColor.rgb, c.rgb, clamp(f, 0.0, 1.0));
  }
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
  uLighting,
  uTwoSide,
  uLightCount,
  uLightPosition,
  uLightAmbient,
  uLightDiffuse,
  uLightSpecular,
  uLightAttenuation,
  uSceneColor,
  uMaterialAmbient,
  uMaterialDiffuse,
  uMaterialSpecular,
  uShininess,
  uTextureMode,
  uTextureAlpha,
  uFogMode,
  uFogDensity,
  uFogStart,
  uFogEnd,
  uFogColor,
  kUniformCount
};

const char* const kUniformNames[kUniformCount] = {
    "uModelview",       "uProjection",      "uNormalMatrix",     "uLighting",
    "uTwoSide",         "uLightCount",      "uLightPosition",    "uLightAmbient",
    "uLightDiffuse",    "uLightSpecular",   "uLightAttenuation", "uSceneColor",
    "uMaterialAmbient", "uMaterialDiffuse", "uMaterialSpecular", "uShininess",
    "uTextureMode",     "uTextureAlpha",    "uFogMode",          "uFogDensity",
    "uFogStart",        "uFogEnd",          "uFogColor",
};

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

bool LinkProgram(GlProgram& shading, bool sixteenBitDepth) {
  GLuint program = emscripten_glCreateProgram();
  const std::string fragment = std::string("#version 300 es\n") +
                               (sixteenBitDepth ? "#define SIXTEEN_BIT_DEPTH\n" : "") +
                               kFragmentShader;
  emscripten_glAttachShader(program, CompileShader(GL_VERTEX_SHADER, kVertexShader));
  emscripten_glAttachShader(program, CompileShader(GL_FRAGMENT_SHADER, fragment.c_str()));
  emscripten_glLinkProgram(program);
  GLint linked = 0;
  emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked == 0) {
    return false;
  }
  shading.program = program;
  shading.uniforms.resize(kUniformCount);
  for (int i = 0; i < kUniformCount; ++i) {
    shading.uniforms[i] = emscripten_glGetUniformLocation(program, kUniformNames[i]);
  }
  return true;
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

void LoadLights(const GlContext& context, const std::vector<GLint>& u) {
  GLfloat position[4 * kLightCount], ambient[4 * kLightCount], diffuse[4 * kLightCount],
      specular[4 * kLightCount], attenuation[3 * kLightCount];
  int count = 0;
  for (const GlLight& light : context.lights) {
    if (!light.enabled) {
      continue;
    }
    std::memcpy(&position[4 * count], light.position, sizeof light.position);
    std::memcpy(&ambient[4 * count], light.ambient, sizeof light.ambient);
    std::memcpy(&diffuse[4 * count], light.diffuse, sizeof light.diffuse);
    std::memcpy(&specular[4 * count], light.specular, sizeof light.specular);
    std::memcpy(&attenuation[3 * count], light.attenuation, sizeof light.attenuation);
    ++count;
  }
  emscripten_glUniform1i(u[uLightCount], count);
  if (count == 0) {
    return;
  }
  Uniform4(u[uLightPosition], position, count);
  Uniform4(u[uLightAmbient], ambient, count);
  Uniform4(u[uLightDiffuse], diffuse, count);
  Uniform4(u[uLightSpecular], specular, count);
  emscripten_glUniform3fv(u[uLightAttenuation], count, attenuation);
}

void LoadMaterials(const GlContext& context, const std::vector<GLint>& u) {
  GLfloat scene[8], ambient[8], diffuse[8], specular[8], shininess[2];
  for (int side = 0; side < 2; ++side) {
    const GlMaterial& material = context.materials[side];
    for (int i = 0; i < 4; ++i) {
      scene[4 * side + i] =
          material.emission[i] + material.ambient[i] * context.lightModelAmbient[i];
    }
    std::memcpy(&ambient[4 * side], material.ambient, sizeof material.ambient);
    std::memcpy(&diffuse[4 * side], material.diffuse, sizeof material.diffuse);
    std::memcpy(&specular[4 * side], material.specular, sizeof material.specular);
    shininess[side] = material.shininess;
  }
  Uniform4(u[uSceneColor], scene, 2);
  Uniform4(u[uMaterialAmbient], ambient, 2);
  Uniform4(u[uMaterialDiffuse], diffuse, 2);
  Uniform4(u[uMaterialSpecular], specular, 2);
  emscripten_glUniform1fv(u[uShininess], 2, shininess);
}

int FogModeIndex(GLenum mode) {
  return mode == GL_LINEAR ? 1 : (mode == GL_EXP ? 2 : 3);
}

}  // namespace

bool MakeGpuObjects(GlContext& context) {
  ForgetBatchCaches(context);
  const bool finerDepth = CreateFramebuffer(context);
  if (!LinkProgram(context.shading, finerDepth && context.format.depthBits == 16)) {
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

void LoadShadingState(GlContext& context, bool lines) {
  const std::vector<GLint>& u = context.shading.uniforms;
  emscripten_glUseProgram(context.shading.program);
  emscripten_glUniformMatrix4fv(u[uModelview], 1, GL_FALSE, context.modelview.back().m);
  emscripten_glUniformMatrix4fv(u[uProjection], 1, GL_FALSE, context.projection.back().m);
  GLfloat normal[9];
  NormalMatrix(context.modelview.back(), normal);
  emscripten_glUniformMatrix3fv(u[uNormalMatrix], 1, GL_FALSE, normal);
  emscripten_glUniform1i(u[uLighting], context.lighting ? 1 : 0);
  emscripten_glUniform1i(u[uTwoSide], context.twoSide ? 1 : 0);
  if (context.lighting) {
    LoadLights(context, u);
    LoadMaterials(context, u);
  }
  int textureMode = !context.texture2d ? 0 : (context.textureEnvMode == GL_MODULATE ? 1 : 2);
  emscripten_glUniform1i(u[uTextureMode], textureMode);
  emscripten_glUniform1i(u[uTextureAlpha], context.textureAlpha ? 1 : 0);
  emscripten_glBindTexture(GL_TEXTURE_2D, context.texture);
  emscripten_glUniform1i(u[uFogMode], context.fog ? FogModeIndex(context.fogMode) : 0);
  emscripten_glUniform1f(u[uFogDensity], context.fogDensity);
  emscripten_glUniform1f(u[uFogStart], context.fogStart);
  emscripten_glUniform1f(u[uFogEnd], context.fogEnd);
  Uniform4(u[uFogColor], context.fogColor);
  bool depth = context.depthTest && context.depthBuffer != 0;
  (depth ? emscripten_glEnable : emscripten_glDisable)(GL_DEPTH_TEST);
  emscripten_glDepthFunc(GL_LESS);
  // Lines were culled before they were made; triangles are culled by WebGL.
  (context.cullFace && !lines ? emscripten_glEnable : emscripten_glDisable)(GL_CULL_FACE);
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
