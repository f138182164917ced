#pragma once
// The desktop's clipboard, as text.

#include <string>

namespace platform {

// The program's 8-bit text onto the clipboard.
void setClipboardText(const std::string& text);
// The clipboard's text, narrowed to the program's 8 bits; empty when it holds none.
std::string clipboardText();

} // namespace platform
