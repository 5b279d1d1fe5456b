// Starting SDL's video and loading the GL driver, overlapped with the first message box
// (video_start.cpp).
#pragma once

#include <SDL.h>

namespace sdl {

// Opens the display: on X11 only checks that the server answers, elsewhere starts SDL's video.
// False, said once on stderr, when no display answers.
bool OpenVideo();
// Whether a first box would come before SDL's video starts.
bool VideoPending();
// Shows a parentless box (SDL's) from a process forked before SDL's video starts, and starts it
// while the box is up; returns when the box is closed and video has started, 0 when the box was
// shown.
int ShowBoxWhileVideoStarts(Uint32 flags, const char* caption, const char* text);
// Waits until video has started and the driver has loaded: before anything asks SDL, GL or GLX
// about the display.
void FinishVideoStart();

}  // namespace sdl
