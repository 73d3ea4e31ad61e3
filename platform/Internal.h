#pragma once
// What the parts of the platform layer share among themselves; the game never includes it.

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

// A 32-bit bottom-up pixel store: pixel (x, y) is pixels[y * width + x], y from the bottom.
struct DibSection {
    int width = 0;
    int height = 0;
    uint32_t* pixels = nullptr;
    std::vector<uint32_t> storage;
};

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
    int bkMode = 2;  // OPAQUE
    bool ownedByWindow = false;  // from GetDC/BeginPaint rather than CreateCompatibleDC
};

// The window's client-area picture (its width and height are the client size); null for a
// null window. Provided by the windowing part of the layer.
DibSection* WindowFrame(HWND window);
