// Accumulating a rotation increment in single precision, as each frame does, with and without
// the re-orthonormalisation that keeps the model matrix a rotation.
#include <gtest/gtest.h>

#include <cmath>

#include "render/render.h"

namespace {

// The matrix glRotatef multiplies by, built the way a single-precision implementation does.
void RotationMatrix(float degrees, float x, float y, float z, float r[16]) {
  float length = std::sqrt(x * x + y * y + z * z);
  x /= length;
  y /= length;
  z /= length;
  float radians = degrees * 3.14159265f / 180.0f;
  float s = std::sin(radians);
  float c = std::cos(radians);
  float t = 1.0f - c;
  const float m[16] = {
      t * x * x + c,
      t * x * y + z * s,
      t * x * z - y * s,
      0.0f,
      t * x * y - z * s,
      t * y * y + c,
      t * y * z + x * s,
      0.0f,
      t * x * z + y * s,
      t * y * z - x * s,
      t * z * z + c,
      0.0f,
      0.0f,
      0.0f,
      0.0f,
      1.0f,
  };
  for (int i = 0; i < 16; ++i) {
    r[i] = m[i];
  }
}

// m := r * m in single precision, column-major.
void Fold(const float r[16], float m[16]) {
  float product[16];
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) {
        sum += r[4 * k + row] * m[4 * column + k];
      }
      product[4 * column + row] = sum;
    }
  }
  for (int i = 0; i < 16; ++i) {
    m[i] = product[i];
  }
}

// Largest deviation of the 3x3 block's column Gram matrix from the identity.
double OrthonormalityError(const float m[16]) {
  double worst = 0.0;
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      double dot = 0.0;
      for (int k = 0; k < 3; ++k) {
        dot += static_cast<double>(m[4 * a + k]) * m[4 * b + k];
      }
      worst = std::fmax(worst, std::fabs(dot - (a == b ? 1.0 : 0.0)));
    }
  }
  return worst;
}

double Determinant3(const float m[16]) {
  return m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
         m[8] * (m[1] * m[6] - m[5] * m[2]);
}

double ErrorAfterFolds(long folds, bool orthonormalize) {
  float r[16];
  RotationMatrix(2.0f, 0.3f, 0.2f, 0.4f, r);
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  for (long i = 0; i < folds; ++i) {
    Fold(r, m);
    if (orthonormalize) {
      OrthonormalizeRotation(m);
    }
  }
  return OrthonormalityError(m);
}

TEST(ModelRotation, UncorrectedFoldsDriftAwayFromARotation) {
  double error = ErrorAfterFolds(10'000'000, false);
  std::printf("orthonormality error after 1e7 uncorrected folds: %g\n", error);
  EXPECT_GT(error, 1e-3);
}

TEST(ModelRotation, CorrectedFoldsStayARotation) {
  double error = ErrorAfterFolds(10'000'000, true);
  std::printf("orthonormality error after 1e7 corrected folds: %g\n", error);
  EXPECT_LT(error, 1e-5);
}

TEST(ModelRotation, OrthonormalizeKeepsOrientationAndDirection) {
  // A rotation skewed and stretched: column 0 keeps its direction, the result is proper.
  float m[16];
  RotationMatrix(70.0f, 1.0f, -2.0f, 0.5f, m);
  float skewed[16];
  for (int i = 0; i < 16; ++i) {
    skewed[i] = m[i];
  }
  for (int r = 0; r < 3; ++r) {
    skewed[r] *= 1.3f;
    skewed[4 + r] += 0.2f * m[r];
    skewed[8 + r] += 0.1f * m[4 + r] - 0.05f * m[r];
  }
  OrthonormalizeRotation(skewed);
  EXPECT_LT(OrthonormalityError(skewed), 1e-6);
  EXPECT_NEAR(Determinant3(skewed), 1.0, 1e-6);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(skewed[i], m[i], 1e-6) << "element " << i;
  }
}

TEST(ModelRotation, DegenerateBlockIsLeftAlone) {
  float m[16] = {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float before[16] = {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  OrthonormalizeRotation(m);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(m[i], before[i]) << "element " << i;
  }
}

}  // namespace
