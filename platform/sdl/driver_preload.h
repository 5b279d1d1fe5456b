// The GL driver, loaded on a worker thread while the hint box is up (driver_preload.cpp).
#pragma once

namespace sdl {

// Starts loading the GL driver in the background; once per process.
void StartDriverPreload();
// Waits until the driver is loaded: before anything asks GL or GLX about the display.
void FinishDriverPreload();

}  // namespace sdl
