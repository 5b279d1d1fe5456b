// The modelview and projection stacks and the operations that multiply onto them.
#include <cmath>

#include "platform/webgl/gl_state.h"

namespace webgl {

Matrix IdentityMatrix() {
  return Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix product;
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      GLfloat sum = 0;
      for (int k = 0; k < 4; ++k) {
        sum += a.m[4 * k + row] * b.m[4 * column + k];
      }
      product.m[4 * column + row] = sum;
    }
  }
  return product;
}

Matrix& CurrentMatrix(GlContext& context) {
  return context.matrixMode == GL_MODELVIEW ? context.modelview.back() : context.projection.back();
}

void NormalMatrix(const Matrix& modelview, GLfloat normal[9]) {
  const GLfloat* m = modelview.m;
  GLfloat c[9] = {
      m[5] * m[10] - m[6] * m[9], m[6] * m[8] - m[4] * m[10], m[4] * m[9] - m[5] * m[8],
      m[2] * m[9] - m[1] * m[10], m[0] * m[10] - m[2] * m[8], m[1] * m[8] - m[0] * m[9],
      m[1] * m[6] - m[2] * m[5],  m[2] * m[4] - m[0] * m[6],  m[0] * m[5] - m[1] * m[4],
  };
  // c is the cofactor matrix in column-major order: the inverse transpose times the determinant.
  GLfloat determinant = m[0] * c[0] + m[1] * c[1] + m[2] * c[2];
  GLfloat scale = determinant == 0 ? 0 : 1 / determinant;
  for (int i = 0; i < 9; ++i) {
    normal[i] = c[i] * scale;
  }
}

// Right-multiplies the current matrix, as every OpenGL matrix operation does.
static void MultiplyCurrent(const Matrix& by) {
  if (GlContext* context = currentContext) {
    Matrix& current = CurrentMatrix(*context);
    current = Multiply(current, by);
  }
}

extern "C" {

void glMatrixMode(GLenum mode) {
  if (currentContext != nullptr && (mode == GL_MODELVIEW || mode == GL_PROJECTION)) {
    currentContext->matrixMode = mode;
  }
}

void glLoadIdentity(void) {
  if (GlContext* context = currentContext) {
    CurrentMatrix(*context) = IdentityMatrix();
  }
}

// A push onto a full stack and a pop of its last matrix do nothing, as OpenGL refuses them.
void glPushMatrix(void) {
  GlContext* context = currentContext;
  if (context == nullptr) {
    return;
  }
  bool modelview = context->matrixMode == GL_MODELVIEW;
  std::vector<Matrix>& stack = modelview ? context->modelview : context->projection;
  if (stack.size() < static_cast<size_t>(modelview ? kModelviewDepth : kProjectionDepth)) {
    stack.push_back(stack.back());
  }
}

void glPopMatrix(void) {
  GlContext* context = currentContext;
  if (context == nullptr) {
    return;
  }
  std::vector<Matrix>& stack =
      context->matrixMode == GL_MODELVIEW ? context->modelview : context->projection;
  if (stack.size() > 1) {
    stack.pop_back();
  }
}

void glMultMatrixf(const GLfloat* matrix) {
  if (matrix == nullptr) {
    return;
  }
  Matrix by;
  for (int i = 0; i < 16; ++i) {
    by.m[i] = matrix[i];
  }
  MultiplyCurrent(by);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  double length = std::sqrt(double{x} * x + double{y} * y + double{z} * z);
  // A null axis turns about nothing, as Mesa treats it.
  if (length == 0) {
    return;
  }
  double ux = x / length, uy = y / length, uz = z / length;
  double radians = angle * 3.14159265358979323846 / 180.0;
  double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
  Matrix r = IdentityMatrix();
  r.m[0] = static_cast<GLfloat>(ux * ux * t + c);
  r.m[1] = static_cast<GLfloat>(uy * ux * t + uz * s);
  r.m[2] = static_cast<GLfloat>(ux * uz * t - uy * s);
  r.m[4] = static_cast<GLfloat>(ux * uy * t - uz * s);
  r.m[5] = static_cast<GLfloat>(uy * uy * t + c);
  r.m[6] = static_cast<GLfloat>(uy * uz * t + ux * s);
  r.m[8] = static_cast<GLfloat>(ux * uz * t + uy * s);
  r.m[9] = static_cast<GLfloat>(uy * uz * t - ux * s);
  r.m[10] = static_cast<GLfloat>(uz * uz * t + c);
  MultiplyCurrent(r);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  Matrix t = IdentityMatrix();
  t.m[12] = x;
  t.m[13] = y;
  t.m[14] = z;
  MultiplyCurrent(t);
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar) {
  if (left == right || bottom == top || zNear == zFar) {
    return;
  }
  Matrix o = IdentityMatrix();
  o.m[0] = static_cast<GLfloat>(2 / (right - left));
  o.m[5] = static_cast<GLfloat>(2 / (top - bottom));
  o.m[10] = static_cast<GLfloat>(-2 / (zFar - zNear));
  o.m[12] = static_cast<GLfloat>(-(right + left) / (right - left));
  o.m[13] = static_cast<GLfloat>(-(top + bottom) / (top - bottom));
  o.m[14] = static_cast<GLfloat>(-(zFar + zNear) / (zFar - zNear));
  MultiplyCurrent(o);
}

void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
               GLdouble zFar) {
  if (zNear <= 0 || zFar <= 0 || left == right || bottom == top || zNear == zFar) {
    return;
  }
  Matrix f = {};
  f.m[0] = static_cast<GLfloat>(2 * zNear / (right - left));
  f.m[5] = static_cast<GLfloat>(2 * zNear / (top - bottom));
  f.m[8] = static_cast<GLfloat>((right + left) / (right - left));
  f.m[9] = static_cast<GLfloat>((top + bottom) / (top - bottom));
  f.m[10] = static_cast<GLfloat>(-(zFar + zNear) / (zFar - zNear));
  f.m[11] = -1;
  f.m[14] = static_cast<GLfloat>(-2 * zFar * zNear / (zFar - zNear));
  MultiplyCurrent(f);
}

}  // extern "C"

}  // namespace webgl
