#pragma once

#include <string>

namespace platform {

// The registry value "Owner" under "ControlPanel\Owner" when set, else the full name of
// the user's account, else the login name (UTF-8).
std::string deviceOwnerName();

} // namespace platform
