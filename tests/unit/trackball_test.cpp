// The trackball's mapping of pixels onto the hemisphere and its press / move / release states.
#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <tuple>

#include "app/viewer_state.h"
#include "input/trackball.h"

namespace {

TEST(TrackballPoint, MapsPixelsOntoTheHemisphere) {
  const struct {
    int x, y;
    Vec3 expected;
  } cases[] = {
      {200, 200, {0, 0, 1}},
      {300, 200, {0.57735f, 0, 0.81650f}},
      {0, 200, {-1, 0, -4.37114e-8f}},
      {0, 0, {-0.70711f, 0.70711f, -3.09086e-8f}},
      {800, 200, {1, 0, -1.45705e-8f}},
      {-32768, 32767, {-0.71142f, -0.70277f, -1.8865e-10f}},  // far outside, while captured
  };
  for (const auto& c : cases) {
    Vec3 p;
    TrackballPoint(c.x, c.y, 400, 400, &p);
    EXPECT_NEAR(p.x, c.expected.x, 1e-5) << c.x << ", " << c.y;
    EXPECT_NEAR(p.y, c.expected.y, 1e-5) << c.x << ", " << c.y;
    // The rim's tiny negative heights come from pi/2 being rounded to a float.
    EXPECT_NEAR(p.z, c.expected.z, std::fabs(c.expected.z) < 1e-6 ? 1e-9 : 1e-5);
  }
}

void Reset() {
  viewerState = ViewerState{};
  viewerState.windowWidth = 400;
  viewerState.windowHeight = 400;
}

// Moves after a press at the centre: 90 degrees per unit of chord, axis last x new, unnormalised.
TEST(Trackball, MoveFromTheCentreGivesTheIncrementOfItsChord) {
  const struct {
    int x, y;
    float angle;
    Vec3 axis;
  } cases[] = {
      {300, 200, 54.523f, {0, 0.57735f, 0}},
      {200, 150, 23.715f, {-0.26120f, 0, 0}},  // upward: about -x
      {200, 200, 0, {0, 0, 0}},                // same pixel: no increment, no undefined axis
  };
  for (const auto& c : cases) {
    Reset();
    TrackballBegin(1, 200, 200);
    TrackballMove(c.x, c.y);
    EXPECT_NEAR(viewerState.rotationAngle, c.angle, 1e-3) << c.x << ", " << c.y;
    EXPECT_NEAR(viewerState.rotationAxis.x, c.axis.x, 1e-5);
    EXPECT_NEAR(viewerState.rotationAxis.y, c.axis.y, 1e-5);
    EXPECT_NEAR(viewerState.rotationAxis.z, c.axis.z, 1e-6);
  }
}

// p press, m move away, b move back to the press pixel, h release there, t release away from it,
// x release of another button; each starts with no frame asked for, so the last one's shows.
void Apply(char event) {
  viewerState.idleHandler = nullptr;
  const bool away = event == 'm' || event == 't' || event == 'x';
  const int x = away ? 260 : 200, y = away ? 170 : 200;
  if (event == 'p') {
    TrackballBegin(1, x, y);
  } else if (event == 'm' || event == 'b') {
    TrackballMove(x, y);
  } else {
    TrackballEnd(event == 'x' ? 2 : 1, x, y);
  }
}

TEST(Trackball, StateTransitions) {
  const struct {
    const char* name;
    const char* events;
    // rotating, dragging, keepSpinning; angle 0; a frame asked for by the last event
    std::tuple<BOOL, BOOL, BOOL, bool, bool> outcome;
  } cases[] = {
      {"click stops", "ph", {0, 0, 0, true, true}},
      {"drag back to the press pixel stops", "pmbmbh", {0, 0, 0, true, true}},
      {"release elsewhere spins", "pmt", {1, 0, 1, false, true}},
      {"move in a drag asks for a frame", "pm", {1, 1, 0, false, true}},
      {"release while spinning is compared with the press", "pmth", {0, 0, 0, true, true}},
      {"another button's release changes nothing", "pmx", {1, 1, 0, false, false}},
      {"release while not rotating changes nothing", "t", {0, 0, 1, false, false}},
      {"move without a drag asks for nothing", "m", {0, 0, 1, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    for (char event : std::string_view(c.events)) {
      Apply(event);
    }
    const ViewerState& s = viewerState;
    EXPECT_EQ(std::make_tuple(s.rotating, s.dragging, s.keepSpinning, s.rotationAngle == 0.0f,
                              s.idleHandler != nullptr),
              c.outcome);
  }
}

}  // namespace
