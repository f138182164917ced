#pragma once
// Message, notification and command numbers, kept as the handheld numbered them so
// that the program's message table reads as it always did.

#include <cstdint>

namespace platform {

constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_SETTINGCHANGE = 0x001A;
constexpr unsigned WM_NOTIFY = 0x004E;
constexpr unsigned WM_HELP = 0x0053;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_INITDIALOG = 0x0110;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_INITMENUPOPUP = 0x0117;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_HIBERNATE = 0x03FF;
// The first number the program may use for messages of its own.
constexpr unsigned WM_USER = 0x0400;

// WM_ACTIVATE, low word of wParam.
constexpr unsigned WA_INACTIVE = 0;
constexpr unsigned WA_ACTIVE = 1;

// WM_KEYDOWN, wParam: the keys the program asks for.
constexpr uintptr_t VK_BACK = 0x08;
constexpr uintptr_t VK_RETURN = 0x0D;
constexpr uintptr_t VK_ESCAPE = 0x1B;

// Standard command ids of dialogs.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Notification codes in the high word of WM_COMMAND's wParam.
constexpr unsigned BN_CLICKED = 0;
constexpr unsigned CBN_SELCHANGE = 1;
constexpr unsigned CBN_SETFOCUS = 3;
constexpr unsigned CBN_EDITCHANGE = 5;
constexpr unsigned LBN_SELCHANGE = 1;
constexpr unsigned EN_SETFOCUS = 0x0100;
constexpr unsigned EN_KILLFOCUS = 0x0200;
constexpr unsigned EN_CHANGE = 0x0300;

// Property sheet notifications in WM_NOTIFY.
constexpr int PSN_SETACTIVE = -200;
constexpr int PSN_KILLACTIVE = -201;
constexpr int PSN_APPLY = -202;
constexpr int PSN_RESET = -203;
constexpr int PSN_HELP = -205;

struct Window;

// What WM_NOTIFY's lParam points to.
struct NotifyHeader {
    Window* from;
    uintptr_t idFrom;
    int code;
};

constexpr uint16_t loWord(uintptr_t value) {
    return uint16_t(value & 0xFFFF);
}
constexpr uint16_t hiWord(uintptr_t value) {
    return uint16_t(value >> 16 & 0xFFFF);
}
constexpr uintptr_t makeWParam(unsigned low, unsigned high) {
    return uintptr_t((low & 0xFFFF) | (high & 0xFFFF) << 16);
}
// Pointer positions travel as two signed 16-bit halves of lParam.
constexpr intptr_t makePointLParam(int x, int y) {
    return intptr_t(uint32_t(uint16_t(int16_t(x))) | uint32_t(uint16_t(int16_t(y))) << 16);
}
constexpr int pointX(intptr_t lParam) {
    return int16_t(uint16_t(lParam & 0xFFFF));
}
constexpr int pointY(intptr_t lParam) {
    return int16_t(uint16_t(lParam >> 16 & 0xFFFF));
}

} // namespace platform
