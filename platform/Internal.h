#pragma once
// What the parts of the platform layer share among themselves; neither the game nor the
// backends include it.

#include "platform/DibSection.h"
#include "platform/Platform.h"

// Our screen font: glyphs of width x height pixels for the printable ASCII characters.
struct Font {
    int width = 8;
    int height = 16;
};

// A handle on a pixel store plus the text state. A window's context draws into the window's
// client-area picture, which EndPaint presents.
struct DeviceContext {
    HWND window = nullptr;
    DibSection* bitmap = nullptr;
    Font* font = nullptr;
    COLORREF textColor = 0;
    int bkMode = 2;              // OPAQUE
    bool ownedByWindow = false;  // from GetDC/BeginPaint rather than CreateCompatibleDC
};

// The window's client-area picture (its width and height are the client size); null for a
// null window. Provided by the windowing part of the layer.
DibSection* WindowFrame(HWND window);
