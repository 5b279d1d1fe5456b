// SDL events become window messages here, and only here.
#include "platform/sdl/input.h"
#include "platform/sdl/layer.h"

// Keyboard input without a focus window (possible with no window manager) goes to the first
// shown window, the one a user would be typing at.
static LayerWindow* KeyboardTarget(Uint32 sdlWindowId) {
  if (LayerWindow* window = LookUpSdlWindow(sdlWindowId)) {
    return window;
  }
  for (auto& window : core.windows) {
    if (window->visible) {
      return &LayerWindowOf(*window);
    }
  }
  return nullptr;
}

// While a window has the capture every pointer message goes to it, wherever the pointer is.
static LayerWindow* PointerTarget(Uint32 sdlWindowId) {
  if (LayerWindow* captor = LookUpWindow(core.capture)) {
    return captor;
  }
  return LookUpSdlWindow(sdlWindowId);
}

// Where the event's own position (x, y in SDL window sdlWindowId) lies in target's client area.
// Positions always come from the events: SDL's global pointer state is a cache that XTest input
// (remote desktops, accessibility tools, xdotool) does not refresh.
static POINT EventPosition(const LayerWindow& target, Uint32 sdlWindowId, int x, int y) {
  const LayerWindow* source = LookUpSdlWindow(sdlWindowId);
  if (source == nullptr) {
    source = &target;
  }
  return POINT{x + source->x - target.x, y + source->y - target.y};
}

static void PostPointerMessage(const LayerWindow& target, UINT message, POINT client) {
  core.cursor = POINT{target.x + client.x, target.y + client.y};
  PostToQueue(WindowHandle(target), message, MouseKeyFlags(layer.buttons, SDL_GetModState()),
              PositionLParam(client.x, client.y));
}

static void PostMove(const LayerWindow& target, POINT client) {
  POINT screen = {target.x + client.x, target.y + client.y};
  if (screen.x == core.cursor.x && screen.y == core.cursor.y) {
    return;
  }
  PostPointerMessage(target, WM_MOUSEMOVE, client);
}

static void PostButton(const SDL_MouseButtonEvent& event) {
  LayerWindow* target = PointerTarget(event.windowID);
  UINT message = ButtonMessage(event.button, event.state == SDL_PRESSED);
  if (target == nullptr || message == 0) {
    return;
  }
  Uint32 mask = SDL_BUTTON(event.button);
  layer.buttons = event.state == SDL_PRESSED ? (layer.buttons | mask) : (layer.buttons & ~mask);
  // The event's own position: reading the pointer now could turn a quick click into a drag.
  PostPointerMessage(*target, message, EventPosition(*target, event.windowID, event.x, event.y));
}

static void PostKey(const SDL_KeyboardEvent& event) {
  layer.modifiers = event.keysym.mod;
  LayerWindow* target = KeyboardTarget(event.windowID);
  WPARAM virtualKey = VirtualKeyFromSdl(event.keysym.sym);
  if (target == nullptr || virtualKey == 0) {
    return;
  }
  bool down = event.state == SDL_PRESSED;
  Uint16 modifiers = event.keysym.mod;
  PostToQueue(WindowHandle(*target), KeyMessage(down, modifiers), virtualKey,
              KeyLParam(down, event.repeat != 0, modifiers));
  // SDL types no text for Ctrl+letter; Windows gives its control character.
  if (WPARAM control = down ? ControlCharacter(event.keysym.sym, modifiers) : 0) {
    PostToQueue(WindowHandle(*target), WM_CHAR, control, KeyLParam(true, false, modifiers));
  }
}

static void PostText(const SDL_TextInputEvent& event) {
  LayerWindow* target = KeyboardTarget(event.windowID);
  if (target == nullptr) {
    return;
  }
  Uint16 modifiers = layer.modifiers;
  UINT message = CharacterMessage(modifiers);
  WPARAM characters[SDL_TEXTINPUTEVENT_TEXT_SIZE];
  std::size_t count = CharactersOfText(event.text, characters, SDL_TEXTINPUTEVENT_TEXT_SIZE);
  for (std::size_t i = 0; i < count && message != 0; ++i) {
    PostToQueue(WindowHandle(*target), message, characters[i], KeyLParam(true, false, modifiers));
  }
}

// A size that differs from the one on record came from outside (window manager, xdotool).
static void ApplyOutsideSize(LayerWindow& window, int width, int height) {
  if (width == window.width && height == window.height) {
    return;
  }
  window.width = width;
  window.height = height;
  window.invalid = true;
  PostToQueue(WindowHandle(window), WM_SIZE, 0, MAKELPARAM(width, height));
}

static void ApplyWindowEvent(const SDL_WindowEvent& event) {
  LayerWindow* window = LookUpSdlWindow(event.windowID);
  if (window == nullptr) {
    return;
  }
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      ApplyOutsideSize(*window, event.data1, event.data2);
      break;
    case SDL_WINDOWEVENT_MOVED:
      window->x = event.data1 - PrimaryOrigin().x;
      window->y = event.data2 - PrimaryOrigin().y;
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      SetIconic(*window, event.event == SDL_WINDOWEVENT_MINIMIZED);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // The capture goes with the focus (SDL has dropped its grab already): say so.
      if (core.capture == WindowHandle(*window)) {
        ReleaseCapture();
      }
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      window->invalid = true;
      break;
    case SDL_WINDOWEVENT_CLOSE:
      PostToQueue(WindowHandle(*window), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

// SDL's own quit request (the session ending, or an SDL_QUIT pushed by someone) asks every
// window to close; closing the last window yields no SDL_QUIT since the layer turns that off.
static void CloseEveryWindow() {
  for (auto& window : core.windows) {
    PostToQueue(WindowHandle(*window), WM_CLOSE, 0, 0);
  }
}

void TranslateSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      CloseEveryWindow();
      break;
    case SDL_WINDOWEVENT:
      ApplyWindowEvent(event.window);
      break;
    case SDL_MOUSEMOTION:
      if (LayerWindow* target = PointerTarget(event.motion.windowID)) {
        PostMove(*target,
                 EventPosition(*target, event.motion.windowID, event.motion.x, event.motion.y));
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      PostButton(event.button);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      PostKey(event.key);
      break;
    case SDL_TEXTINPUT:
      PostText(event.text);
      break;
    default:
      break;
  }
}

// While captured without SDL's own grab (SDL refuses one without the keyboard focus), SDL
// reports no motion outside the window: there the X server is asked where the pointer is.
static void FollowCapturedPointer() {
  LayerWindow* captor = LookUpWindow(core.capture);
  POINT client;
  if (captor != nullptr && captor->sdl != nullptr &&
      (SDL_GetWindowFlags(captor->sdl) & SDL_WINDOW_MOUSE_CAPTURE) == 0 &&
      PointerOutsideWindow(captor->sdl, &client)) {
    PostMove(*captor, client);
  }
}

void PumpInput() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return;
  }
  SDL_PumpEvents();
  SDL_Event events[16];
  int count = 0;
  while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    for (int i = 0; i < count; ++i) {
      TranslateSdlEvent(events[i]);
    }
  }
  FollowCapturedPointer();
}
