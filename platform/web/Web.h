#pragma once
// The browser backend of the platform layer, for the game as a web page: a canvas, the page's
// keyboard events, the Gamepad API and Web Audio, through emscripten's HTML5 interface. This
// header does not include emscripten, so the entry function can install the backend without
// seeing it.

namespace web {

// Makes the page the platform. Without sound, the null device stands in for Web Audio.
void Install(bool sound = true);
// Stops listening to the page; the window and the sound device are gone by then.
void Uninstall();
// Milliseconds spent putting pictures on the canvas since the last call: the part of a frame
// that is the browser's, told apart from the game's own when the page reports frame times.
double TakePresentMilliseconds();

}  // namespace web
