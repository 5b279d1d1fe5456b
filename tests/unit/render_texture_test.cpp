// The checkerboard image: 32-texel squares, dark (16) where row and column squares have equal
// parity, light (255) elsewhere, opaque throughout.
#include <gtest/gtest.h>

#include <vector>

#include "render/render.h"

namespace {

struct TexelCase {
  int row;
  int column;
  GLubyte shade;
};

TEST(CheckerImage, TexelsAtSquareCornersAndEdges) {
  std::vector<GLubyte> image(4 * kCheckerSize * kCheckerSize, 0xAB);
  FillCheckerImage(image.data());
  const TexelCase cases[] = {
      {0, 0, 16},   {0, 31, 16},   {31, 31, 16},   {0, 32, 255},  {32, 0, 255},
      {32, 32, 16}, {255, 0, 255}, {255, 255, 16}, {100, 40, 16}, {100, 70, 255},
  };
  for (const TexelCase& c : cases) {
    const GLubyte* texel = &image[4 * (kCheckerSize * c.row + c.column)];
    SCOPED_TRACE(testing::Message() << "row " << c.row << ", column " << c.column);
    EXPECT_EQ(texel[0], c.shade);
    EXPECT_EQ(texel[1], c.shade);
    EXPECT_EQ(texel[2], c.shade);
    EXPECT_EQ(texel[3], 255);
  }
}

}  // namespace
