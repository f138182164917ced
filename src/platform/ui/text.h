#pragma once
// The 8-bit text of the program meets Qt's wide text here: text that is valid
// UTF-8 is read as UTF-8, anything else as Windows-1252; text going back is UTF-8.

#include <QString>
#include <string>

namespace platform {

QString widen(const char* text);
QString widen(const std::string& text);
std::string narrow(const QString& text);

} // namespace platform
