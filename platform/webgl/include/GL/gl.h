// The OpenGL 1.1 subset that platform/webgl/ implements over WebGL 2, under the name the viewer
// includes (<GL/gl.h>). Only what is declared here exists; values are OpenGL's own.
//
// Supported:
//  - matrices: glMatrixMode (modelview, projection), glLoadIdentity, glPushMatrix, glPopMatrix,
//    glMultMatrixf, glRotatef, glTranslatef, glOrtho, glFrustum
//  - immediate mode: glBegin(GL_TRIANGLES), glNormal3f, glVertex3f, glEnd (one draw per glEnd)
//  - lighting per vertex: eight directional lights (w = 0), their directions taken as given in
//    eye coordinates (the viewer sends them under the identity modelview); ambient, diffuse and
//    specular with shininess, front and back materials (no emission), two-sided light model
//  - fog: GL_EXP2 from the eye distance |z|
//  - glPolygonMode (GL_FILL, GL_LINE: each triangle's edges), face culling (back faces, counter-
//    clockwise fronts), depth test (GL_LESS), glLineWidth (1 only, as WebGL)
//  - the default 2D texture: glTexImage2D (RGB or RGBA bytes), filters, wrap modes,
//    GL_MODULATE and GL_REPLACE, sampled at texture coordinate (0, 0)
//  - glClear, glClearColor, glEnable, glDisable, glGetFloatv (GL_MODELVIEW_MATRIX), glFlush
// Not supported: other primitives, vertex arrays, colours and texture coordinates per vertex,
// positional and spot lights, attenuation, other fog modes, blending, stencil, glViewport, display
// lists, texture objects, glReadPixels, glIsEnabled. Calls the subset does not support, or with
// arguments OpenGL refuses, do nothing; there is no error state (glGetError) to query.
#pragma once

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef void GLvoid;
typedef int GLint;
typedef unsigned char GLubyte;
typedef unsigned int GLuint;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;

#define GL_FALSE 0
#define GL_TRUE 1

#define GL_TRIANGLES 0x0004

#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000

#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_FRONT_AND_BACK 0x0408

#define GL_LINE 0x1B01
#define GL_FILL 0x1B02

#define GL_CULL_FACE 0x0B44
#define GL_LIGHTING 0x0B50
#define GL_FOG 0x0B60
#define GL_DEPTH_TEST 0x0B71
#define GL_TEXTURE_2D 0x0DE1

#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_EXP2 0x0801

#define GL_LIGHT_MODEL_TWO_SIDE 0x0B52
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001
#define GL_LIGHT2 0x4002
#define GL_LIGHT3 0x4003
#define GL_LIGHT4 0x4004
#define GL_LIGHT5 0x4005
#define GL_LIGHT6 0x4006
#define GL_LIGHT7 0x4007
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_SHININESS 0x1601

#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_MODELVIEW_MATRIX 0x0BA6

#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_MODULATE 0x2100
#define GL_REPLACE 0x1E01
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_NEAREST 0x2600
#define GL_REPEAT 0x2901
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_UNSIGNED_BYTE 0x1401

#ifdef __cplusplus
extern "C" {
#endif

void glEnable(GLenum capability);
void glDisable(GLenum capability);
void glGetFloatv(GLenum name, GLfloat* values);
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void glClear(GLbitfield mask);
void glFlush(void);
void glPolygonMode(GLenum face, GLenum mode);
void glLineWidth(GLfloat width);

void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glPushMatrix(void);
void glPopMatrix(void);
void glMultMatrixf(const GLfloat* matrix);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar);
void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
               GLdouble zFar);

void glBegin(GLenum mode);
void glEnd(void);
void glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);

void glLightfv(GLenum light, GLenum name, const GLfloat* values);
void glLightModeli(GLenum name, GLint value);
void glMaterialfv(GLenum face, GLenum name, const GLfloat* values);
void glMaterialf(GLenum face, GLenum name, GLfloat value);

void glFogi(GLenum name, GLint value);
void glFogf(GLenum name, GLfloat value);
void glFogfv(GLenum name, const GLfloat* values);

void glTexEnvi(GLenum target, GLenum name, GLint value);
void glTexParameteri(GLenum target, GLenum name, GLint value);
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels);

#ifdef __cplusplus
}
#endif
