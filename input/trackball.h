// The virtual trackball: left-button drags become incremental rotations.
#pragma once

#include "model/vec3.h"

void TrackballPoint(int x, int y, int width, int height, Vec3* point);
void TrackballBegin(int button, int x, int y);
void TrackballMove(int x, int y);
void TrackballEnd(int button, int x, int y);
