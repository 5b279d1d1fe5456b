// SDL's events are reported to the core here, and only here: the core builds the messages.
#include "platform/sdl/layer.h"
#include "platform/sdl/video_start.h"

namespace sdl {
namespace {

// The virtual-key code of an SDL key, or 0 for keys the viewer's Win32 does not name.
WPARAM VirtualKey(SDL_Keycode key) {
  if ((key >= SDLK_a && key <= SDLK_z) || (key >= SDLK_0 && key <= SDLK_9)) {
    return static_cast<WPARAM>(key >= SDLK_a ? 'A' + (key - SDLK_a) : key);
  }
  static constexpr struct {
    SDL_Keycode key;
    WPARAM virtualKey;
  } kNamed[] = {
      {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},       {SDLK_RETURN, VK_RETURN},
      {SDLK_KP_ENTER, VK_RETURN}, {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},
      {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},
      {SDLK_RALT, VK_MENU},       {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_SPACE, VK_SPACE},
      {SDLK_LEFT, VK_LEFT},       {SDLK_UP, VK_UP},         {SDLK_RIGHT, VK_RIGHT},
      {SDLK_DOWN, VK_DOWN},
  };
  for (const auto& named : kNamed) {
    if (named.key == key) {
      return named.virtualKey;
    }
  }
  return 0;
}

core::Modifiers ModifiersOf(Uint16 mod) {
  return core::Modifiers{(mod & KMOD_SHIFT) != 0, (mod & KMOD_CTRL) != 0, (mod & KMOD_ALT) != 0};
}

void ReportButton(const SDL_MouseButtonEvent& event) {
  core::Button button = event.button == SDL_BUTTON_LEFT     ? core::Button::kLeft
                        : event.button == SDL_BUTTON_MIDDLE ? core::Button::kMiddle
                                                            : core::Button::kRight;
  if (event.button == SDL_BUTTON_LEFT || event.button == SDL_BUTTON_MIDDLE ||
      event.button == SDL_BUTTON_RIGHT) {
    core::ButtonChanged(WindowOfSdl(event.windowID), button, event.state == SDL_PRESSED,
                        POINT{event.x, event.y}, ModifiersOf(SDL_GetModState()));
  }
}

void ReportKey(const SDL_KeyboardEvent& event) {
  SDL_Keycode key = event.keysym.sym;
  bool right = key == SDLK_RSHIFT || key == SDLK_RCTRL || key == SDLK_RALT || key == SDLK_KP_ENTER;
  core::KeyChanged(WindowOfSdl(event.windowID), VirtualKey(key), right, event.state == SDL_PRESSED,
                   ModifiersOf(event.keysym.mod));
}

void ReportWindowEvent(const SDL_WindowEvent& event) {
  HWND window = WindowOfSdl(event.windowID);
  if (window == nullptr) {
    return;
  }
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      core::WindowResized(window, event.data1, event.data2);
      break;
    case SDL_WINDOWEVENT_MOVED:
      core::WindowMoved(window, event.data1 - PrimaryOrigin().x, event.data2 - PrimaryOrigin().y);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      core::WindowMinimised(window, event.event == SDL_WINDOWEVENT_MINIMIZED);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      core::FocusLost(window);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      core::WindowExposed(window);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      core::CloseRequested(window);
      break;
    default:
      break;
  }
}

void Report(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      // The session ending, or an SDL_QUIT pushed by someone.
      core::SessionEnding();
      break;
    case SDL_WINDOWEVENT:
      ReportWindowEvent(event.window);
      break;
    case SDL_MOUSEMOTION:
      // Positions come from the events: SDL's global pointer state is a cache that XTest input
      // (remote desktops, accessibility tools, xdotool) does not refresh.
      core::PointerMoved(WindowOfSdl(event.motion.windowID), POINT{event.motion.x, event.motion.y},
                         ModifiersOf(SDL_GetModState()));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      ReportButton(event.button);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      ReportKey(event.key);
      break;
    case SDL_TEXTINPUT:
      core::TextTyped(WindowOfSdl(event.text.windowID), event.text.text);
      break;
    default:
      break;
  }
}

// While captured without SDL's own grab (SDL refuses one without the keyboard focus), SDL
// reports no motion outside the window: there the X server is asked where the pointer is. Nor
// a release there, once the pointer has come back in: SDL then ungrabs the pointer, which ends
// the server's implicit grab of the press, and the release goes to the window under the pointer.
void FollowCapturedPointer() {
  const core::WindowFields* captor = core::Captor();
  SDL_Window* sdl = SdlWindow(captor);
  POINT client;
  bool leftDown = true;
  if (sdl != nullptr && (SDL_GetWindowFlags(sdl) & SDL_WINDOW_MOUSE_CAPTURE) == 0 &&
      PointerOutsideWindow(sdl, &client, &leftDown)) {
    const core::Modifiers modifiers = ModifiersOf(SDL_GetModState());
    core::PointerMoved(captor->handle, client, modifiers);
    if (!leftDown && core::ButtonHeld(core::Button::kLeft)) {
      core::ButtonChanged(captor->handle, core::Button::kLeft, false, client, modifiers);
    }
  }
}

}  // namespace

void Pump() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return;
  }
  SDL_PumpEvents();
  SDL_Event events[16];
  int count = 0;
  while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    for (int i = 0; i < count; ++i) {
      Report(events[i]);
    }
  }
  FollowCapturedPointer();
}

// SDL waits for its own events: on X11 a wait before any window or box starts its video first.
void Wait(int timeout) {
  FinishVideoStart();
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_WaitEventTimeout(nullptr, timeout);
  } else if (timeout > 0) {
    SDL_Delay(static_cast<Uint32>(timeout));
  }
}

}  // namespace sdl
