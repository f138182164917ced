#pragma once
// Windows with a window procedure. Qt's events arrive at the procedure as the
// handheld's messages; what it draws goes into a back buffer at the handheld's
// logical resolution, which the screen shows enlarged by a whole scale factor.

#include "platform/ui/geometry.h"
#include "platform/ui/messages.h"

#include <cstdint>

namespace platform {

struct Window;

using WindowProc = intptr_t (*)(Window* window, unsigned message, uintptr_t wParam,
                                intptr_t lParam);

struct WindowClass {
    const char* name;
    WindowProc proc;
    Color background; // filled into invalidated areas painted with erasing
};

// The main window's client area in logical pixels: the board above the status panel.
constexpr int CLIENT_WIDTH = 240;
constexpr int CLIENT_HEIGHT = 268;

bool registerWindowClass(const WindowClass& windowClass);
// Sends WM_CREATE before it returns; null when the class is unknown or the
// procedure answered -1 to WM_CREATE or destroyed the window meanwhile.
Window* createWindow(const char* className, const char* title);
// Sends WM_DESTROY and frees the window once control returns to the event loop.
void destroyWindow(Window* window);
// The answer to messages a procedure does not handle: WM_CLOSE destroys the window.
intptr_t defWindowProc(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
Window* findWindow(const char* className);

void showWindow(Window* window);
void setForegroundWindow(Window* window);
bool isForegroundWindow(Window* window);

intptr_t sendMessage(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// Safe from any thread: the message is delivered on the interface thread, or
// dropped when the window is gone by then.
void postMessage(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
void postQuitMessage(int exitCode);

Rect getClientRect(Window* window);
// A null area means the whole client area; erase fills it with the class background first.
void invalidateRect(Window* window, const Rect* area, bool erase);
// Delivers a pending WM_PAINT at once.
void updateWindow(Window* window);
// Puts the back buffer on the screen at once, for drawing done outside WM_PAINT while the
// message loop waits (the closing animation).
void showNow(Window* window);

void setTimer(Window* window, uintptr_t timerId, uint32_t periodMs);
void killTimer(Window* window, uintptr_t timerId);

void setCapture(Window* window);
void releaseCapture();
Window* getCapture();

// What the program keeps with a window (the dialog procedures keep their state here).
void setWindowData(Window* window, void* data);
void* windowData(Window* window);

// The factor by which logical pixels are enlarged on the screen: chosen from the
// screen at the first window unless forced (0 returns to the automatic choice).
void setWindowScale(int scale);
int windowScale();

// How often the window's pixels have been put on the screen (start-up figures).
int windowFramesShown(Window* window);

// The colour of a logical pixel of the window's back buffer (tests and benchmarks).
Color windowPixel(Window* window, int x, int y);

} // namespace platform
