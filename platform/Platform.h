#pragma once
// The operating-system services the game is written against, with the names, meanings and
// values of the Windows API it was designed for (virtual-key codes, message numbers, joystick
// ranges, hundredths of a decibel). The game's own code includes this header and nothing of
// SDL; the services are provided by a backend (platform/sdl for the game, platform/scripted
// for tests) installed at start-up.

#include <cstddef>
#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using BOOL = int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using COLORREF = uint32_t;  // 0x00BBGGRR

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct Window;
struct DeviceContext;
struct DibSection;
struct Font;
using HWND = Window*;
using HDC = DeviceContext*;
using HBITMAP = DibSection*;
using HFONT = Font*;
using HINSTANCE = void*;

struct RECT {
    LONG left, top, right, bottom;
};

// ---------------------------------------------------------------------------------------------
// Clock

// Milliseconds of a monotonic clock, truncated to 32 bits (wraps after about 49 days).
DWORD timeGetTime();

// ---------------------------------------------------------------------------------------------
// Keyboard

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // Alt
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_NUMPAD1 = 0x61;
constexpr int VK_NUMPAD2 = 0x62;
constexpr int VK_NUMPAD3 = 0x63;
constexpr int VK_NUMPAD4 = 0x64;
constexpr int VK_NUMPAD5 = 0x65;
constexpr int VK_NUMPAD6 = 0x66;
constexpr int VK_NUMPAD7 = 0x67;
constexpr int VK_NUMPAD8 = 0x68;
constexpr int VK_NUMPAD9 = 0x69;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F10 = 0x79;
constexpr int VK_OEM_PLUS = 0xBB;  // the = and + key
constexpr int VK_OEM_COMMA = 0xBC;
constexpr int VK_OEM_MINUS = 0xBD;
constexpr int VK_OEM_PERIOD = 0xBE;
// Letters and digits are their ASCII capitals: 'B' is 0x42.

// High bit (0x8000): the key is held now. Low bit (1): it was pressed since the last query of
// that key.
int16_t GetAsyncKeyState(int vk);

// Ours: keys by the names SDL gives them ("Up", "Space", "Keypad 8", "B"), as the settings
// file writes them. The name of a key that has none is empty; an unknown name is key 0.
// Names are matched without regard to case.
const char* KeyNameFromVirtualKey(int vk);
int VirtualKeyFromName(const char* name);

// ---------------------------------------------------------------------------------------------
// Windows and messages

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_KILLFOCUS = 0x0008;  // also sent when the window is minimised
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT MM_JOY1MOVE = 0x03A0;
constexpr UINT MM_JOY2MOVE = 0x03A1;
constexpr UINT MM_JOY1BUTTONDOWN = 0x03B5;
constexpr UINT MM_JOY2BUTTONDOWN = 0x03B6;
constexpr UINT MM_JOY1BUTTONUP = 0x03B7;
constexpr UINT MM_JOY2BUTTONUP = 0x03B8;

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
constexpr int GWL_STYLE = -16;
constexpr int GWL_HINSTANCE = -6;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNORMAL = 1;
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    const void* hIcon;
    const void* hCursor;
    const void* hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

BOOL RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(const char* className, HINSTANCE instance);
const void* LoadIconA(HINSTANCE instance, const char* name);
const void* LoadCursorA(HINSTANCE instance, const char* name);
const void* GetStockObject(int object);
constexpr const char* IDI_APPLICATION = "application";
constexpr const char* IDC_ARROW = "arrow";
constexpr int WHITE_BRUSH = 0;

// Creates the window and sends it WM_CREATE before returning. Null when no window can be
// opened (no display); PlatformError() then says why.
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* caption, DWORD style, int x,
                     int y, int width, int height, HWND parent, void* menu, HINSTANCE instance,
                     void* param);
BOOL DestroyWindow(HWND window);  // sends WM_DESTROY
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);  // FALSE on WM_QUIT
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
BOOL WaitMessage();

BOOL SetPropA(HWND window, const char* name, void* value);
void* GetPropA(HWND window, const char* name);

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);  // sends WM_PAINT at once when the window is invalid
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
// Marks the window as painted without painting it.
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

BOOL ShowWindow(HWND window, int command);
BOOL SetWindowTextA(HWND window, const char* text);
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL hasMenu);

// Ours: the window on the desktop shows the game's picture enlarged by a whole factor, the
// scale. The game's client area is its 320x240 picture doubled, so the scale counts window
// pixels per pixel of that picture: 2 shows the client area as it is, 1 halves it. The player may also resize the window freely; the picture
// then takes the largest whole factor that fits, centred on black, and that factor is the
// scale GetWindowScale reports. The largest scale is the largest whose window fits the
// desktop.
int GetWindowScale(HWND window);
BOOL SetWindowScale(HWND window, int scale);
int GetLargestWindowScale(HWND window);
void* GetMenu(HWND window);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
int ShowCursor(BOOL show);

// Full screen: the display mode is never changed. A window whose style becomes WS_POPUP covers
// the desktop, its 640x480 picture scaled by the largest whole factor and centred on black.

// The last failure of the platform layer in one line (no display, no window), for the
// message the program prints before it ends.
const char* PlatformError();

// An error a player must see before the program ends: a message box where a program started
// from the desktop has no console (Windows); elsewhere standard error, printed by the caller,
// is enough and nothing is shown.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONERROR = 0x0010;
int MessageBoxA(HWND window, const char* text, const char* caption, UINT type);

BOOL IntersectRect(RECT* result, const RECT* a, const RECT* b);

// ---------------------------------------------------------------------------------------------
// GDI: device contexts on 32-bit bottom-up DIB sections, the text font, copies.
// Device coordinates count y downward from the top: device row r is memory row height-1-r.

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    DWORD bmiColors[1];
};

constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr DWORD DEFAULT_CHARSET = 1;

HDC GetDC(HWND window);  // null window: the screen
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// Allocates a pixel store for a 32-bit header; *bits receives its first pixel.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);  // returns the bitmap selected before
HFONT SelectObject(HDC dc, HFONT font);
BOOL DeleteObject(HBITMAP bitmap);
BOOL DeleteObject(HFONT font);
// Our own 8x16 screen font serves every face name; height and width choose nothing else.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* faceName);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF colour);
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
// Source rectangle in the DIB's own coordinates (y from the bottom, as in a BMP).
int StretchDIBits(HDC dc, int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop);

// ---------------------------------------------------------------------------------------------
// Joystick (winmm): the first device only; axes 0..65535; buttons as bits 1, 2, 4, 8.

constexpr UINT JOYSTICKID1 = 0;
constexpr UINT JOYSTICKID2 = 1;
constexpr UINT JOYERR_NOERROR = 0;
constexpr UINT JOYERR_UNPLUGGED = 167;
constexpr UINT JOY_BUTTON1 = 0x0001;
constexpr UINT JOY_BUTTON2 = 0x0002;
constexpr UINT JOY_BUTTON3 = 0x0004;
constexpr UINT JOY_BUTTON4 = 0x0008;
// Ours, beyond the four buttons of the record: a game pad's Start button.
constexpr UINT JOY_BUTTONSTART = 0x0100;

struct JOYINFO {
    UINT wXpos;
    UINT wYpos;
    UINT wZpos;
    UINT wButtons;
};

// 404 bytes, as the record the game keeps was laid out on its first platform.
struct JOYCAPSA {
    WORD wMid;
    WORD wPid;
    char szPname[32];
    UINT wXmin, wXmax, wYmin, wYmax, wZmin, wZmax;
    UINT wNumButtons;
    UINT wPeriodMin, wPeriodMax;
    UINT wRmin, wRmax, wUmin, wUmax, wVmin, wVmax;
    UINT wCaps;
    UINT wMaxAxes, wNumAxes, wMaxButtons;
    char szRegKey[32];
    char szOEMVxD[260];
};
static_assert(sizeof(JOYCAPSA) == 404);

UINT joyGetPos(UINT id, JOYINFO* info);
UINT joyGetDevCapsA(UINT id, JOYCAPSA* caps, UINT size);
UINT joySetThreshold(UINT id, UINT threshold);
// While captured, the window receives MM_JOY1MOVE (position changed by more than the
// threshold; x in the low 16 bits of lParam, y in the high) and MM_JOY1BUTTONDOWN/UP (wParam:
// the button state bits), polled every period milliseconds.
UINT joySetCapture(HWND window, UINT id, UINT period, BOOL onlyChanges);
UINT joyReleaseCapture(UINT id);
