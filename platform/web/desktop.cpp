// Message boxes, screen metrics, mouse capture and palettes.
#include <emscripten.h>

#include "platform/web/layer.h"

// A modal dialog on the page: the caption as its title, the text as given (blanks kept) and an OK
// button that has the focus, so Enter dismisses it as a click does (and Esc, as on Windows).
// Outside a browser the box becomes a line on stderr.
// clang-format off
EM_ASYNC_JS(void, ShowMessageBox, (const char* text, const char* caption, int error), {
  text = UTF8ToString(text);
  caption = UTF8ToString(caption);
  if (typeof document === 'undefined') {
    err('ribbon: ' + caption + ': ' + text);
    return;
  }
  const box = document.createElement('dialog');
  box.className = error ? 'box error' : 'box';
  const title = document.createElement('div');
  title.className = 'caption';
  title.textContent = caption;
  const body = document.createElement('div');
  body.className = 'text';
  body.textContent = text;
  const form = document.createElement('form');
  form.method = 'dialog';
  const ok = document.createElement('button');
  ok.textContent = 'OK';
  form.append(ok);
  box.append(title, body, form);
  document.body.append(box);
  box.showModal();
  ok.focus();
  await new Promise(resolve => box.addEventListener('close', resolve));
  box.remove();
});
// clang-format on

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  ShowMessageBox(text == nullptr ? "" : text, caption == nullptr ? "Error" : caption,
                 (type & MB_ICONERROR) != 0 ? 1 : 0);
  return IDOK;
}

// The browser's viewport is the screen a page has, in device pixels, as a DPI-aware program sees
// its screen: the window's drawing buffer then matches the display's pixels.
// clang-format off
EM_JS(int, ViewportSize, (int height), {
  if (typeof window === 'undefined') return height ? 768 : 1024;
  return Math.round((height ? window.innerHeight : window.innerWidth) * window.devicePixelRatio);
});
// clang-format on

int GetSystemMetrics(int index) {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) {
    return 0;
  }
  return ViewportSize(index == SM_CYSCREEN ? 1 : 0);
}

// clang-format off
EM_JS(void, CapturePointer, (int capture), {
  if (typeof document === 'undefined' || Module.ribbonPointer === undefined) return;
  const canvas = document.getElementById('canvas');
  try {
    if (capture) canvas.setPointerCapture(Module.ribbonPointer);
    else canvas.releasePointerCapture(Module.ribbonPointer);
  } catch (e) {
    // The pointer is no longer active: there is nothing to capture or release.
  }
});
// clang-format on

HWND SetCapture(HWND window) {
  HWND previous = core.capture;
  if (TakeCapture(window)) {
    CapturePointer(1);
  }
  return previous;
}

void DropCapture() {
  if (core.capture != nullptr) {
    core.capture = nullptr;
    CapturePointer(0);
  }
}

BOOL ReleaseCapture() {
  return ReleaseCoreCapture();
}

// Palettes are kept as objects and change nothing: a page is always true-colour.
HPALETTE CreatePalette(const LOGPALETTE* logicalPalette) {
  return PaletteAcceptable(logicalPalette) ? AddPalette(*logicalPalette) : nullptr;
}
