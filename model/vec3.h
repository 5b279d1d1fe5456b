// A point or direction in model space, as the mesh data and the trackball store them.
#pragma once

struct Vec3 {
  float x;
  float y;
  float z;
};
