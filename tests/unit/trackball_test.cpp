// The trackball's press / move / release states. (A drag's turn is checked by the baseline
// pictures, its mapping of pixels far outside the window by the scenario's captured drag.)
#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

#include "app/viewer_state.h"
#include "input/trackball.h"

namespace {

// p press, m move away, b back to the press pixel, h release there, t release away from it (the
// left button alone, as the viewer sends); each starts with no frame asked for, so the last shows.
void Apply(char event) {
  viewerState.idleHandler = nullptr;
  const bool away = event == 'm' || event == 't';
  const int x = away ? 260 : 200, y = away ? 170 : 200;
  if (event == 'p') {
    TrackballBegin(1, x, y);
  } else if (event == 'm' || event == 'b') {
    TrackballMove(x, y);
  } else {
    TrackballEnd(1, x, y);
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
      {"release while not rotating changes nothing", "t", {0, 0, 1, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    viewerState = ViewerState{};
    viewerState.windowWidth = viewerState.windowHeight = 400;
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
