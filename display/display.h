// The display context: the window's pixel format and, where the format needs one, a palette.
#pragma once

#include "platform/win32.h"

// The fixed pixel-format request, adjusted by the doubleBuffer and depthBuffer settings.
PIXELFORMATDESCRIPTOR PixelFormatRequest(BOOL doubleBuffer, BOOL depthBuffer);
// Gives deviceContext its pixel format, or shows the "Error" box and exits with status 1.
void SetupPixelFormat(HDC deviceContext);

// Whether a format with this description needs a logical palette.
bool PaletteNeeded(const PIXELFORMATDESCRIPTOR& description);
// Entry i of the palette that gives each pixel value the colour its bit fields encode.
PALETTEENTRY PaletteEntryFor(int i, const PIXELFORMATDESCRIPTOR& description);
// Builds, selects and realises the palette into viewerState.palette when the format needs one.
void SetupPalette(HDC deviceContext);
