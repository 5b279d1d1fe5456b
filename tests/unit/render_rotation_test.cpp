// The correction that keeps the model matrix a rotation while frames fold increments into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/render.h"

namespace {

// Column-major rotation by `degrees` about (0.3, 0.2, 0.4), the increment the viewer starts with.
void Rotation(double degrees, double r[16]) {
  const double l = std::sqrt(0.29), x = 0.3 / l, y = 0.2 / l, z = 0.4 / l;
  const double a = degrees * 3.14159265358979323846 / 180;
  const double s = std::sin(a), c = std::cos(a), t = 1 - c;
  const double columns[3][3] = {{t * x * x + c, t * x * y + z * s, t * x * z - y * s},
                                {t * x * y - z * s, t * y * y + c, t * y * z + x * s},
                                {t * x * z + y * s, t * y * z - x * s, t * z * z + c}};
  for (int e = 0; e < 16; ++e) {
    r[e] = e % 4 == 3 || e / 4 == 3 ? e == 15 : columns[e / 4][e % 4];
  }
}

// Ten million frames folding the 2-degree increment, in single precision as OpenGL returns it.
TEST(ModelRotation, CorrectedFoldsStayTheRotationOfTheTotalAngle) {
  double increment[16];
  Rotation(2.0, increment);
  float m[16];
  std::copy(increment, increment + 16, m);
  OrthonormalizeRotation(m);  // the first fold; correcting a rotation leaves it as it is
  for (int i = 0; i < 16; ++i) {
    ASSERT_NEAR(m[i], increment[i], 1e-7) << "element " << i;
  }
  for (long fold = 1; fold < 10'000'000; ++fold) {
    float product[16] = {};  // increment * m; element e is row e % 4 of column e / 4
    for (int e = 0; e < 16; ++e) {
      for (int k = 0; k < 4; ++k) {
        product[e] += float(increment[4 * k + e % 4]) * m[4 * (e / 4) + k];
      }
    }
    std::copy(product, product + 16, m);
    OrthonormalizeRotation(m);
  }
  for (int a = 0; a < 9; ++a) {  // uncorrected, the columns' dot products are off by over 1e-3
    const float* u = &m[4 * (a / 3)];
    const float* v = &m[4 * (a % 3)];
    EXPECT_NEAR(double(u[0]) * v[0] + double(u[1]) * v[1] + double(u[2]) * v[2], a % 4 == 0, 1e-5);
  }
  // 2e7 degrees is 200 modulo 360; rounding lets the orientation wander by a few degrees only.
  double total[16];
  Rotation(200.0, total);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m[i], total[i], 0.1) << "element " << i;
  }
}

}  // namespace
