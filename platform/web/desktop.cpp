// Message boxes, screen metrics, mouse capture, palettes, icon, cursor and module handles.
#include <emscripten.h>

#include <algorithm>

#include "platform/web/layer.h"

// Any distinct non-null values serve: nothing reads through these handles.
static char moduleTag;
static char iconTag;
static char cursorTag;
constexpr WORD kIconResource = 101;

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  return moduleName == nullptr ? reinterpret_cast<HMODULE>(&moduleTag) : nullptr;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return name == MAKEINTRESOURCEA(kIconResource) ? reinterpret_cast<HICON>(&iconTag) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR) {
  return reinterpret_cast<HCURSOR>(&cursorTag);
}

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

// The browser's viewport is the screen a page has.
// clang-format off
EM_JS(int, ViewportSize, (int height), {
  if (typeof window === 'undefined') return height ? 768 : 1024;
  return height ? window.innerHeight : window.innerWidth;
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
  HWND previous = layer.capture;
  if (LookUpWindow(window) == nullptr) {
    return previous;
  }
  layer.capture = window;
  if (previous != nullptr && previous != window) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  }
  CapturePointer(1);
  return previous;
}

void DropCapture() {
  if (layer.capture != nullptr) {
    layer.capture = nullptr;
    CapturePointer(0);
  }
}

BOOL ReleaseCapture() {
  HWND captor = layer.capture;
  DropCapture();
  // As on Windows, the window that loses the capture is told before the call returns.
  if (captor != nullptr) {
    SendMessageA(captor, WM_CAPTURECHANGED, 0, 0);
  }
  return TRUE;
}

// Palettes are kept as objects and change nothing: a page is always true-colour.
struct LayerPalette {
  std::vector<PALETTEENTRY> entries;
};
static std::vector<std::unique_ptr<LayerPalette>> palettes;

static LayerPalette* LookUpPalette(const void* handle) {
  for (auto& palette : palettes) {
    if (palette.get() == handle) {
      return palette.get();
    }
  }
  return nullptr;
}

HPALETTE CreatePalette(const LOGPALETTE* logicalPalette) {
  if (logicalPalette == nullptr || logicalPalette->palNumEntries == 0) {
    return nullptr;
  }
  auto palette = std::make_unique<LayerPalette>();
  const PALETTEENTRY* entries = logicalPalette->palPalEntry;
  palette->entries.assign(entries, entries + logicalPalette->palNumEntries);
  palettes.push_back(std::move(palette));
  return reinterpret_cast<HPALETTE>(palettes.back().get());
}

HPALETTE SelectPalette(HDC deviceContext, HPALETTE palette, BOOL) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || LookUpPalette(palette) == nullptr) {
    return nullptr;
  }
  HPALETTE previous = window->selectedPalette;
  window->selectedPalette = palette;
  return previous;
}

UINT RealizePalette(HDC deviceContext) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  LayerPalette* palette = window == nullptr ? nullptr : LookUpPalette(window->selectedPalette);
  return palette == nullptr ? 0 : static_cast<UINT>(palette->entries.size());
}

BOOL UnrealizeObject(HGDIOBJ object) {
  return LookUpPalette(object) != nullptr ? TRUE : FALSE;
}

BOOL DeleteObject(HGDIOBJ object) {
  auto found = std::find_if(palettes.begin(), palettes.end(),
                            [object](const auto& palette) { return palette.get() == object; });
  if (found == palettes.end()) {
    return FALSE;
  }
  for (auto& window : layer.windows) {
    if (window->selectedPalette == object) {
      window->selectedPalette = nullptr;
    }
  }
  palettes.erase(found);
  return TRUE;
}
