// The least an SDL program does to put a first OpenGL frame on screen: start SDL, create a GL
// window, make a context, clear, swap. Then it stays up for the given seconds (default 1).
// With "box", the least it does to show a message box: the box alone, until dismissed.
// Usage: ribbon_bare_window [SIDE [SECONDS]] | box
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "box") == 0) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "bare box", "a bare box", nullptr);
  }
  const int side = argc > 1 ? std::atoi(argv[1]) : 614;
  const int milliseconds = argc > 2 ? static_cast<int>(std::atof(argv[2]) * 1000.0) : 1000;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "ribbon_bare_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window = SDL_CreateWindow("bare window", 50, 50, side, side, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window == nullptr ? nullptr : SDL_GL_CreateContext(window);
  if (context == nullptr) {
    std::fprintf(stderr, "ribbon_bare_window: %s\n", SDL_GetError());
    return 1;
  }
  glClearColor(0.15f, 0.15f, 0.15f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SDL_GL_SwapWindow(window);
  const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(milliseconds);
  SDL_Event event;
  while (SDL_GetTicks64() < end) {
    SDL_WaitEventTimeout(&event, 50);
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
