// The trackball's mapping of pixels onto the hemisphere and its press / move / release states.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "input/trackball.h"

namespace {

struct PointCase {
  int x;
  int y;
  Vec3 expected;
};

TEST(TrackballPoint, MapsPixelsOntoTheHemisphere) {
  const PointCase cases[] = {
      {200, 200, {0.0f, 0.0f, 1.0f}},
      {300, 200, {0.57735f, 0.0f, 0.81650f}},
      {200, 100, {0.0f, 0.57735f, 0.81650f}},
      {0, 200, {-1.0f, 0.0f, -4.37114e-8f}},
      {0, 0, {-0.70711f, 0.70711f, -3.09086e-8f}},
      {800, 200, {1.0f, 0.0f, -1.45705e-8f}},
      {400, 400, {0.70711f, -0.70711f, -3.09086e-8f}},
  };
  for (const PointCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "pixel (" << c.x << ", " << c.y << ")");
    Vec3 p;
    TrackballPoint(c.x, c.y, 400, 400, &p);
    EXPECT_NEAR(p.x, c.expected.x, 1e-5);
    EXPECT_NEAR(p.y, c.expected.y, 1e-5);
    // The rim's tiny negative heights come from pi/2 being rounded to a float.
    EXPECT_NEAR(p.z, c.expected.z, std::fabs(c.expected.z) < 1e-6 ? 1e-9 : 1e-5);
  }
}

TEST(TrackballPoint, FarOutsideTheWindowGivesFiniteUnitVectors) {
  const int coordinates[] = {-32768, -1, 32767, 32768};
  for (int x : coordinates) {
    for (int y : coordinates) {
      Vec3 p;
      TrackballPoint(x, y, 614, 614, &p);
      ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
      EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1.0, 1e-6) << x << ", " << y;
      EXPECT_LE(p.z, 0.0f);
    }
  }
}

class Trackball : public testing::Test {
 protected:
  void SetUp() override {
    viewerState = ViewerState{};
    viewerState.windowWidth = 400;
    viewerState.windowHeight = 400;
  }
  bool RedrawRequested() const { return viewerState.idleHandler != nullptr; }
  void ForgetRedraw() { viewerState.idleHandler = nullptr; }
};

TEST_F(Trackball, MoveFromTheCentreGivesIncrementOfThatChord) {
  TrackballBegin(1, 200, 200);
  EXPECT_FALSE(RedrawRequested());
  TrackballMove(300, 200);
  EXPECT_NEAR(viewerState.rotationAngle, 54.52f, 0.01);
  EXPECT_NEAR(viewerState.rotationAxis.x, 0.0f, 1e-6);
  EXPECT_NEAR(viewerState.rotationAxis.y, 0.57735f, 1e-5);
  EXPECT_NEAR(viewerState.rotationAxis.z, 0.0f, 1e-6);
  EXPECT_NEAR(viewerState.lastTrackballPoint.x, 0.57735f, 1e-5);
  EXPECT_NEAR(viewerState.lastTrackballPoint.z, 0.81650f, 1e-5);
  EXPECT_TRUE(RedrawRequested());
}

TEST_F(Trackball, MoveUpTurnsAboutMinusX) {
  TrackballBegin(1, 200, 200);
  TrackballMove(200, 150);
  EXPECT_LT(viewerState.rotationAxis.x, -0.1f);
  EXPECT_FLOAT_EQ(viewerState.rotationAxis.y, 0.0f);
  EXPECT_FLOAT_EQ(viewerState.rotationAxis.z, 0.0f);
  EXPECT_GT(viewerState.rotationAngle, 0.0f);
}

TEST_F(Trackball, MoveToTheSamePixelGivesNoIncrement) {
  TrackballBegin(1, 120, 250);
  TrackballMove(120, 250);
  EXPECT_EQ(viewerState.rotationAngle, 0.0f);
  EXPECT_EQ(viewerState.rotationAxis.x, 0.0f);
  EXPECT_EQ(viewerState.rotationAxis.y, 0.0f);
  EXPECT_EQ(viewerState.rotationAxis.z, 0.0f);
}

// Flags and increment after a sequence of trackball events.
enum class Event {
  kPressOtherButton,
  kPress,
  kMove,
  kMoveBack,
  kReleaseHere,
  kReleaseThere,
  kReleaseOtherButton
};

struct Transition {
  const char* name;
  std::vector<Event> events;
  BOOL rotating;
  BOOL dragging;
  BOOL keepSpinning;
  bool angleZero;
  bool redrawRequested;  // by the last event
};

void Apply(Event event) {
  switch (event) {
    case Event::kPressOtherButton:
      TrackballBegin(3, 200, 200);
      break;
    case Event::kPress:
      TrackballBegin(1, 200, 200);
      break;
    case Event::kMove:
      TrackballMove(260, 170);
      break;
    case Event::kMoveBack:
      TrackballMove(200, 200);
      break;
    case Event::kReleaseHere:
      TrackballEnd(1, 200, 200);
      break;
    case Event::kReleaseThere:
      TrackballEnd(1, 260, 170);
      break;
    case Event::kReleaseOtherButton:
      TrackballEnd(2, 260, 170);
      break;
  }
}

TEST_F(Trackball, StateTransitions) {
  using E = Event;
  const Transition cases[] = {
      {"click stops", {E::kPress, E::kReleaseHere}, 0, 0, 0, true, true},
      {"drag back to the press pixel stops",
       {E::kPress, E::kMove, E::kMoveBack, E::kMove, E::kMoveBack, E::kReleaseHere},
       0,
       0,
       0,
       true,
       true},
      {"press of another button changes nothing", {E::kPressOtherButton}, 0, 0, 1, false, false},
      {"release elsewhere spins", {E::kPress, E::kMove, E::kReleaseThere}, 1, 0, 1, false, true},
      {"press on a spinning model holds it",
       {E::kPress, E::kMove, E::kReleaseThere, E::kPress},
       1,
       1,
       0,
       false,
       false},
      {"release of another button changes nothing",
       {E::kPress, E::kMove, E::kReleaseOtherButton},
       1,
       1,
       0,
       false,
       false},
      {"release while not rotating changes nothing", {E::kReleaseThere}, 0, 0, 1, false, false},
      {"release after a stop changes nothing",
       {E::kPress, E::kReleaseHere, E::kReleaseThere},
       0,
       0,
       0,
       true,
       false},
      {"move without a drag requests nothing", {E::kMove}, 0, 0, 1, false, false},
      {"move while spinning requests nothing",
       {E::kPress, E::kMove, E::kReleaseThere, E::kMoveBack},
       1,
       0,
       1,
       false,
       false},
      {"release while spinning is compared with the last press",
       {E::kPress, E::kMove, E::kReleaseThere, E::kReleaseHere},
       0,
       0,
       0,
       true,
       true},
  };
  for (const Transition& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (Event event : c.events) {
      ForgetRedraw();
      Apply(event);
    }
    EXPECT_EQ(viewerState.rotating, c.rotating);
    EXPECT_EQ(viewerState.dragging, c.dragging);
    EXPECT_EQ(viewerState.keepSpinning, c.keepSpinning);
    EXPECT_EQ(viewerState.rotationAngle == 0.0f, c.angleZero) << viewerState.rotationAngle;
    EXPECT_EQ(RedrawRequested(), c.redrawRequested);
  }
}

}  // namespace
