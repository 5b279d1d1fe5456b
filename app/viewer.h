// The application shell: start-up, redraw scheduling and the window procedure.
#pragma once

#include "platform/win32.h"

int ViewerMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
void RequestRedraw();
void IdleRender();
LRESULT CALLBACK ViewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the viewer's window class (own device context, IDI_RIBBON, arrow cursor); 0 on failure.
ATOM RegisterViewerClass(HINSTANCE instance);
// Creates the viewer's window at viewerState's place and size (WM_CREATE runs inside); null on
// failure.
HWND CreateViewerWindow(HINSTANCE instance);

// Tells the user of a failure: a line on stderr and an "Error" box owned by owner.
void ReportError(HWND owner, const char* text);

// The square window side for a screen of the given size: 0.8 of its smaller side, truncated.
int WindowSideForScreen(int screenWidth, int screenHeight);
// The message loop of ViewerMain: returns the quit code.
int RunMessageLoop();
