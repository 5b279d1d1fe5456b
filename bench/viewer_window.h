// The viewer's own window for benchmarks: made through the platform layer with ViewerWindowProc,
// so that WM_CREATE chooses the pixel format, makes the context current and runs InitScene exactly
// as at start-up.
#pragma once

#include "platform/win32.h"

// Resets viewerState, sets the window size to side x side and creates the window (hidden). Returns
// null when the window or its rendering context could not be made.
HWND OpenViewerWindow(int side);
// Destroys the window through WM_DESTROY, which releases the rendering context.
void CloseViewerWindow(HWND window);
