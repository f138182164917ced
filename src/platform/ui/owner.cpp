#include "platform/ui/owner.h"

#include "platform/ui/registry.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

std::string deviceOwnerName() {
    char stored[512];
    uint32_t size = sizeof stored;
    if (registryRead("ControlPanel\\Owner", "Owner", stored, &size) && size > 0) {
        // The name is the block's first field: up to the first zero.
        std::string name(stored, size);
        name = name.substr(0, name.find('\0'));
        if (!name.empty()) {
            return name;
        }
    }
    if (const passwd* account = getpwuid(getuid())) {
        // The account's comment field holds "Full Name,Room,Phone,...".
        if (account->pw_gecos) {
            std::string fullName(account->pw_gecos);
            fullName = fullName.substr(0, fullName.find(','));
            if (!fullName.empty()) {
                return fullName;
            }
        }
        if (account->pw_name && *account->pw_name) {
            return account->pw_name;
        }
    }
    const char* login = std::getenv("USER");
    return login ? login : "";
}

} // namespace platform
