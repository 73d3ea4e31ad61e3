#include "platform/web/WebCanvas.h"

#include <emscripten.h>

#include "platform/DibSection.h"

namespace {

// clang-format off
EM_JS(int, FindCanvas, (), {
    return document.getElementById("screen") ? 1 : 0;
});
// clang-format on

// clang-format off
EM_JS(void, SetPageTitle, (const char* caption), {
    document.title = UTF8ToString(caption);
});
// clang-format on

// clang-format off
EM_JS(void, RequestFullScreen, (int on), {
    const stage = document.getElementById("stage");
    if (on && !document.fullscreenElement && stage.requestFullscreen)
        stage.requestFullscreen().catch(() => {});
    else if (!on && document.fullscreenElement)
        document.exitFullscreen().catch(() => {});
});
// clang-format on

// clang-format off
EM_JS(void, ShowCursor, (int visible), {
    document.getElementById("screen").style.cursor = visible ? "" : "none";
});
// clang-format on

// clang-format off
EM_JS(int, PageScale, (), {
    return Module.korimoScale ? Module.korimoScale() : 1;
});
// clang-format on

// clang-format off
EM_JS(void, PutPicture, (const uint32_t* rgba, int width, int height), {
    const canvas = document.getElementById("screen");
    if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        Module.korimoContext = null;
    }
    if (!Module.korimoContext)
        Module.korimoContext = canvas.getContext("2d", {alpha: false});
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module.korimoContext.putImageData(new ImageData(pixels, width, height), 0, 0);
});
// clang-format on

}  // namespace

bool WebCanvas::Open(const char* caption, std::string& error)
{
    if (!FindCanvas()) {
        error = "the page has no canvas named \"screen\"";
        return false;
    }
    SetCaption(caption);
    return true;
}

void WebCanvas::SetCaption(const char* caption)
{
    SetPageTitle(caption);
}

void WebCanvas::SetFullScreen(bool fullScreen)
{
    RequestFullScreen(fullScreen ? 1 : 0);
}

void WebCanvas::SetCursorVisible(bool visible)
{
    ShowCursor(visible ? 1 : 0);
}

int WebCanvas::Scale() const
{
    return PageScale();
}

void WebCanvas::Present(const DibSection& frame)
{
    const double start = emscripten_get_now();
    // Our pixels are blue, green, red and a byte that means nothing, rows bottom-up; the
    // canvas takes red, green, blue and opacity in memory order, rows top-down. WebAssembly is
    // little-endian, so a canvas pixel read as one word is 0xAABBGGRR.
    const size_t count = static_cast<size_t>(frame.width) * frame.height;
    rgba.resize(count);
    uint32_t* out = rgba.data();
    for (int row = frame.height - 1; row >= 0; --row) {
        const uint32_t* in = frame.pixels + static_cast<size_t>(row) * frame.width;
        for (int x = 0; x < frame.width; ++x) {
            const uint32_t pixel = in[x];
            *out++ =
                0xFF000000u | ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
        }
    }
    PutPicture(rgba.data(), frame.width, frame.height);
    presentMilliseconds += emscripten_get_now() - start;
}

double WebCanvas::TakePresentMilliseconds()
{
    const double taken = presentMilliseconds;
    presentMilliseconds = 0;
    return taken;
}
