// The virtual trackball: pixels map onto a hemisphere facing the viewer; successive points give
// the rotation increment that each frame folds into the model's orientation.
#include "input/trackball.h"

#include <cmath>

#include "app/viewer.h"
#include "app/viewer_state.h"

namespace {

// pi/2 in single precision, so that the rim lies at cos = -4.37e-8 rather than exactly 0.
constexpr double kQuarterTurn = static_cast<double>(1.5707964f);
// Degrees of rotation per unit of chord length between two hemisphere points.
constexpr double kDegreesPerChord = 90.0;

}  // namespace

void TrackballPoint(int x, int y, int width, int height, Vec3* point) {
  // Pixel rows grow downward; the hemisphere's y grows upward.
  double px = (2.0 * x - width) / width;
  double py = (height - 2.0 * y) / height;
  double d = std::sqrt(px * px + py * py);
  if (d >= 1.0) {
    d = 1.0;
  }
  double pz = std::cos(d * kQuarterTurn);
  // Outside the unit disc the unclamped (px, py) give the direction on the rim.
  double k = 1.0 / std::sqrt(px * px + py * py + pz * pz);
  point->x = static_cast<float>(px * k);
  point->y = static_cast<float>(py * k);
  point->z = static_cast<float>(pz * k);
}

void TrackballBegin(int button, int x, int y) {
  if (button != 1) {
    return;
  }
  viewerState.rotating = 1;
  viewerState.dragging = 1;
  viewerState.keepSpinning = 0;
  viewerState.dragStartX = x;
  viewerState.dragStartY = y;
  TrackballPoint(x, y, viewerState.windowWidth, viewerState.windowHeight,
                 &viewerState.lastTrackballPoint);
}

void TrackballMove(int x, int y) {
  if (viewerState.dragging == 0) {
    return;
  }
  Vec3 p;
  TrackballPoint(x, y, viewerState.windowWidth, viewerState.windowHeight, &p);
  const Vec3 last = viewerState.lastTrackballPoint;
  double dx = p.x - last.x;
  double dy = p.y - last.y;
  double dz = p.z - last.z;
  viewerState.rotationAngle =
      static_cast<float>(kDegreesPerChord * std::sqrt(dx * dx + dy * dy + dz * dz));
  viewerState.rotationAxis = {last.y * p.z - last.z * p.y, last.z * p.x - last.x * p.z,
                              last.x * p.y - last.y * p.x};
  viewerState.lastTrackballPoint = p;
  RequestRedraw();
}

void TrackballEnd(int button, int x, int y) {
  if (button != 1 || viewerState.rotating != 1) {
    return;
  }
  viewerState.dragging = 0;
  if (x == viewerState.dragStartX && y == viewerState.dragStartY) {
    // A click, or a drag back to where it began: stop the model.
    viewerState.rotationAngle = 0.0f;
    viewerState.keepSpinning = 0;
    viewerState.rotating = 0;
  } else {
    // Released in motion: the last increment goes on being applied on every frame.
    viewerState.keepSpinning = 1;
  }
  RequestRedraw();
}
