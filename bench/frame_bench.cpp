// Frame benchmarks in a real Mesa context (SDL's offscreen driver, no X server): the viewer's
// whole frame while spinning, the same frame with vertex arrays, the mesh draw alone, the message
// loop's idle peek and one trackball move. Every frame ends in glFinish, so the rasterisation
// that llvmpipe defers to its worker threads is timed as well (the offscreen swap does not wait).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "app/viewer_state.h"
#include "bench/reference_frame.h"
#include "bench/viewer_window.h"
#include "input/trackball.h"
#include "model/mesh.h"
#include "render/render.h"

namespace {

// The default increment turns the model by 2 degrees a frame: 540 frames are three whole turns,
// so both frames are timed over exactly the same orientations.
constexpr int kSpinFrames = 540;
// Frames drawn before timing, unmoved, so that llvmpipe has compiled its shaders.
constexpr int kWarmUpFrames = 3;

HWND OpenOrSkip(benchmark::State& state) {
  HWND window = OpenViewerWindow(static_cast<int>(state.range(0)));
  if (window == nullptr) {
    state.SkipWithError("no window with an OpenGL context");
  }
  return window;
}

template <typename Frame>
void TimeSpinningFrames(benchmark::State& state, Frame frame) {
  HWND window = OpenOrSkip(state);
  if (window == nullptr) {
    return;
  }
  for (int i = 0; i < kWarmUpFrames; ++i) {
    frame();
  }
  glFinish();
  viewerState.rotating = 1;
  for (auto _ : state) {
    frame();
    glFinish();
  }
  CloseViewerWindow(window);
}

void BM_RenderFrame(benchmark::State& state) {
  TimeSpinningFrames(state, [] { RenderFrame(DrawMesh); });
}

void BM_ReferenceFrame(benchmark::State& state) {
  TimeSpinningFrames(state, [] { RenderFrame(DrawMeshArrays); });
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Both frames alternately in one window, each timed on its own: a busy spell on the machine
// falls on both alike. Reports the median time of each and their ratio as counters.
void BM_FramePair(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> frameMs;
  std::vector<double> referenceMs;
  auto timed = [](auto frame) {
    const Clock::time_point start = Clock::now();
    frame();
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  TimeSpinningFrames(state, [&] {
    frameMs.push_back(timed([] { RenderFrame(DrawMesh); }));
    referenceMs.push_back(timed([] { RenderFrame(DrawMeshArrays); }));
  });
  if (frameMs.size() <= kWarmUpFrames) {
    return;
  }
  // The warm-up frames compiled shaders; they are not part of the figure.
  frameMs.erase(frameMs.begin(), frameMs.begin() + kWarmUpFrames);
  referenceMs.erase(referenceMs.begin(), referenceMs.begin() + kWarmUpFrames);
  const double frame = MedianOf(frameMs);
  const double reference = MedianOf(referenceMs);
  state.counters["RenderFrame_ms"] = frame;
  state.counters["ReferenceFrame_ms"] = reference;
  state.counters["ratio"] = frame / reference;
}

// The draw alone under the frame's state: timed inside one frame's drawing step. Only the depth
// buffer is cleared between draws, so each one rasterises as much as in a frame.
benchmark::State* drawState = nullptr;
DrawStep timedDraw = nullptr;

void DrawRepeatedly() {
  timedDraw();
  glFinish();
  for (auto _ : *drawState) {
    glClear(GL_DEPTH_BUFFER_BIT);
    timedDraw();
    glFinish();
  }
}

void TimeDraws(benchmark::State& state, DrawStep draw) {
  HWND window = OpenOrSkip(state);
  if (window == nullptr) {
    return;
  }
  drawState = &state;
  timedDraw = draw;
  RenderFrame(DrawRepeatedly);
  CloseViewerWindow(window);
}

void BM_DrawMesh(benchmark::State& state) {
  TimeDraws(state, DrawMesh);
}

void BM_DrawMeshArrays(benchmark::State& state) {
  TimeDraws(state, DrawMeshArrays);
}

// What the message loop spends between two frames when no message waits.
void BM_PeekMessageA(benchmark::State& state) {
  HWND window = OpenOrSkip(state);
  if (window == nullptr) {
    return;
  }
  MSG msg = {};
  for (auto _ : state) {
    benchmark::DoNotOptimize(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
  CloseViewerWindow(window);
}

// One mouse move of a drag: two trackball points, the increment, the redraw request.
void BM_TrackballMove(benchmark::State& state) {
  viewerState = ViewerState{};
  viewerState.windowWidth = 614;
  viewerState.windowHeight = 614;
  TrackballBegin(1, 300, 300);
  int x = 300;
  for (auto _ : state) {
    x = x == 300 ? 310 : 300;
    TrackballMove(x, 320);
    benchmark::DoNotOptimize(viewerState.rotationAxis);
  }
}

// The renderer and version strings go into the report's context, to say what was measured.
void RecordRenderer() {
  HWND window = OpenViewerWindow(64);
  if (window == nullptr) {
    return;
  }
  benchmark::AddCustomContext("gl_renderer",
                              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  benchmark::AddCustomContext("gl_version", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  CloseViewerWindow(window);
}

}  // namespace

BENCHMARK(BM_RenderFrame)
    ->Arg(614)
    ->Arg(864)
    ->Iterations(kSpinFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceFrame)
    ->Arg(614)
    ->Arg(864)
    ->Iterations(kSpinFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePair)
    ->Arg(614)
    ->Arg(864)
    ->Iterations(kSpinFrames)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMesh)->Arg(614)->Arg(864)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMeshArrays)->Arg(614)->Arg(864)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeekMessageA)->Arg(614)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_TrackballMove)->Unit(benchmark::kNanosecond);

int main(int argc, char** argv) {
  // Before SDL starts: a real llvmpipe context without any X server.
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  RecordRenderer();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
