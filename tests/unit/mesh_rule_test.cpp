// The mesh computed from its rule, as the browser build makes it, against the generated tables the
// native builds link: the same records, bit for bit.
#include <gtest/gtest.h>

#include <cstring>

#include "model/mesh.h"

namespace {

// The index of the first record of n that differs, or -1.
template <typename Record>
int FirstDifference(const Record* a, const Record* b, int n) {
  for (int i = 0; i < n; ++i) {
    if (std::memcmp(&a[i], &b[i], sizeof(Record)) != 0) {
      return i;
    }
  }
  return -1;
}

}  // namespace

TEST(MeshRule, ComputedEqualsGeneratedTables) {
  const MeshObject computed = ComputeMeshObject();
  const MeshObject& tables = meshObject;
  EXPECT_STREQ(computed.name, tables.name);
  ASSERT_EQ(computed.faceCount, tables.faceCount);
  ASSERT_EQ(computed.vertexCount, tables.vertexCount);
  ASSERT_EQ(computed.normalCount, tables.normalCount);
  EXPECT_EQ(std::memcmp(computed.reserved, tables.reserved, sizeof tables.reserved), 0);
  EXPECT_EQ(FirstDifference(computed.faces, tables.faces, tables.faceCount), -1);
  EXPECT_EQ(FirstDifference(computed.vertices, tables.vertices, tables.vertexCount), -1);
  EXPECT_EQ(FirstDifference(computed.normals, tables.normals, tables.normalCount), -1);
}
