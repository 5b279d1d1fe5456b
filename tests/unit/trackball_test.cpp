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
      {300, 200, {0.57735f, 0, 0.81650f}},
      {0, 0, {-0.70711f, 0.70711f, -3.09086e-8f}},            // beyond the rim: on it
      {-32768, 32767, {-0.71142f, -0.70277f, -1.8865e-10f}},  // far outside, while captured
  };
  for (const auto& c : cases) {
    Vec3 p;
    TrackballPoint(c.x, c.y, 400, 400, &p);
    EXPECT_LT(std::hypot(p.x - c.expected.x, p.y - c.expected.y, p.z - c.expected.z), 1e-5) << c.x;
  }
}

void Reset() {
  viewerState = ViewerState{};
  viewerState.windowWidth = 400;
  viewerState.windowHeight = 400;
}

// Each move's increment runs from the previous move's point: 90 degrees per unit of chord about
// last x new (not normalised). Upward is about -x.
TEST(Trackball, EachMoveTurnsFromThePreviousPoint) {
  Reset();
  TrackballBegin(1, 200, 200);
  TrackballMove(200, 150);
  EXPECT_NEAR(viewerState.rotationAngle, 23.715f, 1e-3);
  EXPECT_NEAR(viewerState.rotationAxis.x, -0.26120f, 1e-5);
  Vec3 first, second;
  TrackballPoint(200, 150, 400, 400, &first);
  TrackballPoint(300, 150, 400, 400, &second);
  TrackballMove(300, 150);
  const double chord = std::hypot(second.x - first.x, second.y - first.y, second.z - first.z);
  EXPECT_NEAR(viewerState.rotationAngle, 90 * chord, 1e-3);
  EXPECT_NEAR(viewerState.rotationAxis.z, first.x * second.y - first.y * second.x, 1e-6);
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
      {"a press asks for no frame of its own", "pmtp", {1, 1, 0, false, false}},
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
