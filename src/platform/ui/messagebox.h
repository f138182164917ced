#pragma once
// Message boxes with the program's caption, and a hook that answers in their place (tests).

#include "platform/ui/messages.h"

#include <functional>
#include <string>

namespace platform {

struct Window;

constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;

// IDOK, IDCANCEL, IDYES or IDNO; a null or empty caption is the program's name. Closing the box
// answers IDCANCEL (IDNO for MB_YESNO, IDOK for MB_OK).
int messageBox(Window* owner, const char* text, const char* caption, unsigned flags);

using MessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
// While set, the hook's answer replaces the box; an empty hook shows boxes again.
void setMessageBoxHook(MessageBoxHook hook);

} // namespace platform
