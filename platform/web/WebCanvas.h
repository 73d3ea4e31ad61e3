#pragma once
// The one native window of the page: the canvas "screen" inside the element "stage". The page
// (web/page.js) sizes it: the picture at the largest whole factor that fits, drawn without
// smoothing; full screen is the browser's, of the stage.

#include <cstdint>
#include <string>
#include <vector>

struct DibSection;

class WebCanvas {
public:
    // False when the page has no canvas to draw on.
    bool Open(const char* caption, std::string& error);
    void SetCaption(const char* caption);
    void SetFullScreen(bool fullScreen);
    void SetCursorVisible(bool visible);
    // Page pixels per pixel of the game's 320x240 picture, as the page shows it now.
    int Scale() const;
    void Present(const DibSection& frame);
    // Milliseconds spent in Present since the last call.
    double TakePresentMilliseconds();

private:
    double presentMilliseconds = 0;
    std::vector<uint32_t> rgba;  // the frame top-down in the canvas's byte order
};
