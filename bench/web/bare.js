// The anchor for the page's frame rate: the viewer's spinning picture as the least a careful
// WebGL 2 programmer would write it. The mesh's corners with their normals sit in one static
// buffer, uploaded once; each frame is one clear, one draw call and one blit. Lighting is per
// vertex with the viewer's seven directional lights on both sides, fog as the viewer's (off in
// its starting view), into a framebuffer with a 16-bit depth buffer that is blitted to the canvas,
// as the viewer's page presents. The canvas is the viewer's: 0.8 of the viewport's smaller side.
// Query: ?skip=draw,blit,clear leaves those parts out, to show where a frame's time goes;
// ?fog=1 turns fog on; ?indexed=1 draws the corners indexed, those with the same position and
// normal shared (the GL subset's way with a repeated batch), to see what sharing gains. The mesh
// and the scene (lights, materials, fog, backgrounds, projection: the viewer's own values) come
// from web_bare_mesh.js (bare_mesh.cpp), which calls bareStart.
'use strict';

const kGlobalAmbient = 0.2;  // OpenGL's default, which the viewer keeps
const kTurn = 2.3 * Math.PI / 180;

// A zero vector stays zero: the half vector of a light straight from behind gives no highlight.
const normalize = v => { const l = Math.hypot(...v); return v.map(x => (l > 0 ? x / l : 0)); };
const vec = list => list.map(v => v.map(x => x.toFixed(6)).join(', ')).map(s => `vec3(${s})`).join(', ');

// The light and material products folded into constants, as a careful hand would. Each light is
// [direction, ambient, diffuse, specular].
function vertexShader(scene) {
  const lights = scene.lights;
  const ambient = [0, 1, 2].map(i => scene.ambient[i] * kGlobalAmbient +
      lights.reduce((sum, light) => sum + scene.ambient[i] * light[1][i], 0));
  const directions = lights.map(light => normalize(light[0]));
  const halves = directions.map(l => normalize([l[0], l[1], l[2] + 1]));
  const diffuse = side => lights.map(light => light[2].map((d, i) => d * scene.diffuse[side][i]));
  const specular = lights.map(light => light[3].map((s, i) => s * scene.specular[i]));
  return `#version 300 es
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
uniform mat4 uModelview;
uniform mat4 uProjection;
out vec3 vFront;
out vec3 vBack;
out float vDistance;
const vec3 kAmbient = ${vec([ambient])};
const vec3 kDirection[7] = vec3[7](${vec(directions)});
const vec3 kHalf[7] = vec3[7](${vec(halves)});
const vec3 kFrontDiffuse[7] = vec3[7](${vec(diffuse(0))});
const vec3 kBackDiffuse[7] = vec3[7](${vec(diffuse(1))});
const vec3 kSpecular[7] = vec3[7](${vec(specular)});

vec3 Shade(vec3 n, bool front) {
  vec3 c = kAmbient;
  for (int i = 0; i < 7; ++i) {
    float nl = dot(n, kDirection[i]);
    if (nl > 0.0) {
      c += nl * (front ? kFrontDiffuse[i] : kBackDiffuse[i]);
      c += pow(max(dot(n, kHalf[i]), 0.0), ${scene.shininess.toFixed(1)}) * kSpecular[i];
    }
  }
  return clamp(c, 0.0, 1.0);
}

void main() {
  vec4 eye = uModelview * vec4(aPosition, 1.0);
  gl_Position = uProjection * eye;
  vDistance = abs(eye.z);
  vec3 n = mat3(uModelview) * aNormal;
  vFront = Shade(n, true);
  vBack = Shade(-n, false);
}
`;
}

const fragmentShader = scene => `#version 300 es
precision highp float;
in vec3 vFront;
in vec3 vBack;
in float vDistance;
uniform bool uFog;
out vec4 fragColor;

void main() {
  vec3 c = gl_FrontFacing ? vFront : vBack;
  if (uFog) {
    float d = ${scene.fogDensity.toFixed(8)} * vDistance;
    c = mix(${vec([scene.fogColour])}, c, clamp(exp(-d * d), 0.0, 1.0));
  }
  fragColor = vec4(c, 1.0);
}
`;

function program(gl, scene) {
  const p = gl.createProgram();
  for (const [type, source] of [[gl.VERTEX_SHADER, vertexShader(scene)], [gl.FRAGMENT_SHADER, fragmentShader(scene)]]) {
    const s = gl.createShader(type);
    gl.shaderSource(s, source);
    gl.compileShader(s);
    if (!gl.getShaderParameter(s, gl.COMPILE_STATUS)) throw new Error(gl.getShaderInfoLog(s));
    gl.attachShader(p, s);
  }
  gl.linkProgram(p);
  if (!gl.getProgramParameter(p, gl.LINK_STATUS)) throw new Error(gl.getProgramInfoLog(p));
  return p;
}

// Column-major rotation by angle about the viewer's starting axis, then the model's drop along y.
function modelview(angle, scene) {
  const [x, y, z] = normalize(scene.axis), c = Math.cos(angle), s = Math.sin(angle), t = 1 - c;
  const r = [t * x * x + c, t * x * y + s * z, t * x * z - s * y, 0,
             t * x * y - s * z, t * y * y + c, t * y * z + s * x, 0,
             t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0, 0, 0, 0, 1];
  for (let i = 0; i < 3; ++i) r[12 + i] = scene.drop * r[4 + i];
  return new Float32Array(r);
}

function bareStart(corners, count, scene) {
  const params = new URLSearchParams(location.search);
  const skip = new Set((params.get('skip') || '').split(','));
  const canvas = document.getElementById('canvas');
  const side = Math.floor(Math.min(innerWidth, innerHeight) * 0.8);
  canvas.width = canvas.height = side;
  const gl = canvas.getContext('webgl2', { alpha: false, depth: false, stencil: false, antialias: false });

  const framebuffer = gl.createFramebuffer();
  gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
  for (const [format, attachment] of [[gl.RGBA8, gl.COLOR_ATTACHMENT0], [gl.DEPTH_COMPONENT16, gl.DEPTH_ATTACHMENT]]) {
    const buffer = gl.createRenderbuffer();
    gl.bindRenderbuffer(gl.RENDERBUFFER, buffer);
    gl.renderbufferStorage(gl.RENDERBUFFER, format, side, side);
    gl.framebufferRenderbuffer(gl.FRAMEBUFFER, attachment, gl.RENDERBUFFER, buffer);
  }

  const indexed = params.get('indexed') === '1';
  gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
  if (indexed) {
    const seen = new Map(), distinct = [], indices = new Uint32Array(count);
    for (let i = 0; i < count; ++i) {
      const key = corners.subarray(6 * i, 6 * i + 6).join(',');
      if (!seen.has(key)) {
        seen.set(key, seen.size);
        distinct.push(...corners.subarray(6 * i, 6 * i + 6));
      }
      indices[i] = seen.get(key);
    }
    console.log(`bare: ${seen.size} distinct corners of ${count}`);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array(distinct), gl.STATIC_DRAW);
    gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, gl.createBuffer());
    gl.bufferData(gl.ELEMENT_ARRAY_BUFFER, indices, gl.STATIC_DRAW);
  } else {
    gl.bufferData(gl.ARRAY_BUFFER, corners, gl.STATIC_DRAW);
  }
  gl.enableVertexAttribArray(0);
  gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 24, 0);
  gl.enableVertexAttribArray(1);
  gl.vertexAttribPointer(1, 3, gl.FLOAT, false, 24, 12);

  const shading = program(gl, scene);
  gl.useProgram(shading);
  const [h, d] = scene.ortho;
  gl.uniformMatrix4fv(gl.getUniformLocation(shading, 'uProjection'), false,
                      new Float32Array([1 / h, 0, 0, 0, 0, 1 / h, 0, 0, 0, 0, -1 / d, 0, 0, 0, 0, 1]));
  const fog = params.get('fog') === '1';
  gl.uniform1i(gl.getUniformLocation(shading, 'uFog'), fog ? 1 : 0);
  const uModelview = gl.getUniformLocation(shading, 'uModelview');
  gl.enable(gl.DEPTH_TEST);
  gl.clearColor(...(fog ? scene.fogBackground : scene.plainBackground));

  let angle = 0;
  const frame = () => {
    angle += kTurn;
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    if (!skip.has('clear')) gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
    if (!skip.has('draw')) {
      gl.uniformMatrix4fv(uModelview, false, modelview(angle, scene));
      if (indexed) gl.drawElements(gl.TRIANGLES, count, gl.UNSIGNED_INT, 0);
      else gl.drawArrays(gl.TRIANGLES, 0, count);
    }
    if (!skip.has('blit')) {
      gl.bindFramebuffer(gl.DRAW_FRAMEBUFFER, null);
      gl.blitFramebuffer(0, 0, side, side, 0, 0, side, side, gl.COLOR_BUFFER_BIT, gl.NEAREST);
    }
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
}
