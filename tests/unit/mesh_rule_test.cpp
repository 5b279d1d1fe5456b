// The mesh computed from its rule, as the browser build makes it, against the generated tables the
// native builds link: the same records, bit for bit.
#include <gtest/gtest.h>

#include <cstring>

#include "model/mesh.h"

TEST(MeshRule, ComputedEqualsGeneratedTables) {
  const MeshObject computed = ComputeMeshObject();
  const MeshObject& tables = meshObject;
  EXPECT_STREQ(computed.name, tables.name);
  ASSERT_EQ(computed.faceCount, tables.faceCount);
  ASSERT_EQ(computed.vertexCount, tables.vertexCount);
  ASSERT_EQ(computed.normalCount, tables.normalCount);
  const auto same = [](const void* a, const void* b, size_t size) {
    return std::memcmp(a, b, size) == 0;
  };
  EXPECT_TRUE(same(computed.reserved, tables.reserved, sizeof tables.reserved));
  EXPECT_TRUE(same(computed.faces, tables.faces, tables.faceCount * sizeof(MeshFace)));
  EXPECT_TRUE(same(computed.vertices, tables.vertices, tables.vertexCount * sizeof(Vec3)));
  EXPECT_TRUE(same(computed.normals, tables.normals, tables.normalCount * sizeof(Vec3)));
}
