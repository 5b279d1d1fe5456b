// The viewer's one shared record: build-time settings and every piece of run-time state.
#pragma once

#include "model/vec3.h"
#include "platform/win32.h"

using IdleFunction = void (*)();

struct ViewerState {
  // Settings: the window.
  const char* windowClassName = "OpenGL";
  const char* windowTitle = " soft by Valmorin";
  int windowX = 50;
  int windowY = 50;

  // Settings: rendering. Fixed when the program is built; tests may vary them.
  BOOL doubleBuffer = 1;
  BOOL depthBuffer = 1;
  BOOL lighting = 1;
  BOOL perspective = 0;
  BOOL textureEnabled = 0;
  BOOL textureReplace = 0;
  BOOL cullFaces = 0;
  float materialParams[6] = {0.7f, 0.3f, 0.4f, 0.2f, 0.5f, 0.3f};
  // Element i is the direction of light i + 1; w = 0 makes each light directional.
  float lightPositions[6][4] = {
      {-10.0f, 14.0f, 4.0f, 0.0f}, {5.0f, -6.0f, -2.0f, 0.0f}, {0.0f, -3.0f, 4.0f, 0.0f},
      {0.0f, -2.0f, -5.0f, 0.0f},  {0.0f, 0.0f, -8.0f, 0.0f},  {-20.0f, -10.0f, -2.0f, 0.0f},
  };

  // State: window and platform handles.
  int windowWidth = 0;
  int windowHeight = 0;
  HDC deviceContext = nullptr;
  HGLRC renderContext = nullptr;
  HPALETTE palette = nullptr;

  // State: redraw scheduling. idleHandler is null or IdleRender.
  IdleFunction idleHandler = nullptr;
  BOOL keepSpinning = 1;

  // State: model rotation and trackball.
  BOOL rotating = 0;
  BOOL dragging = 0;
  int dragStartX = 0;
  int dragStartY = 0;
  Vec3 lastTrackballPoint = {0.0f, 0.0f, 0.0f};
  // The last pointer position the window procedure saw: where a drag ends if its capture is lost.
  int pointerX = 0;
  int pointerY = 0;
  float rotationAngle = 2.0f;
  Vec3 rotationAxis = {0.3f, 0.2f, 0.4f};
  float modelMatrix[16] = {};

  // State: display toggles.
  BOOL fogEnabled = 0;
  BOOL wireframe = 0;

  // Stepped by keys j and k; nothing else reads it.
  float adjustValue = 0.55f;
};

extern ViewerState viewerState;
