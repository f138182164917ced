#include "platform/kernel/instance_requests.h"

#include <climits>

namespace platform {
namespace {

constexpr char OPEN[] = "open ";
constexpr size_t OPEN_LENGTH = sizeof OPEN - 1;
// A request starts with a line end of its own: whatever a writer left unended before it
// (an old lone 'R') then stays a line apart instead of spoiling the request.
constexpr size_t FRAME_LENGTH = 1 + OPEN_LENGTH + 1;
static_assert(PIPE_BUF > FRAME_LENGTH, "a request must fit into one atomic write");

} // namespace

size_t longestRequestPath() {
    return PIPE_BUF - FRAME_LENGTH;
}

bool openRequest(const std::string& path, std::string* request, std::string* why) {
    if (path.empty() || path.front() != '/') {
        *why = "the path is not absolute";
    } else if (path.find_first_of("\r\n") != std::string::npos) {
        *why = "the path holds a line end";
    } else if (path.size() > longestRequestPath()) {
        *why = "the path is longer than " + std::to_string(longestRequestPath()) + " bytes";
    } else {
        *request = "\n" + std::string(OPEN) + path + "\n";
        return true;
    }
    return false;
}

void InstanceRequests::feed(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const char byte = bytes[i];
        if (byte != '\n') {
            if (m_line.size() < OPEN_LENGTH + longestRequestPath()) {
                m_line += byte;
            } else {
                m_overlong = true;
            }
            continue;
        }
        const bool request = !m_overlong && m_line.compare(0, OPEN_LENGTH, OPEN) == 0 &&
                             m_line.size() > OPEN_LENGTH + 1 && m_line[OPEN_LENGTH] == '/' &&
                             m_line.find('\0') == std::string::npos &&
                             m_line.find('\r') == std::string::npos;
        if (request) m_paths.push_back(m_line.substr(OPEN_LENGTH));
        m_line.clear();
        m_overlong = false;
    }
}

std::vector<std::string> InstanceRequests::takePaths() {
    std::vector<std::string> paths;
    paths.swap(m_paths);
    return paths;
}

} // namespace platform
