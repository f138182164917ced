#pragma once
// What a second start asks of the running instance through its pipe. Any byte asks it to
// come to the front (the first programs wrote a lone 'R'); a line "open PATH" also asks it
// to open the file at the absolute PATH. Each line goes in one write of at most PIPE_BUF
// bytes, which the pipe never mixes with another writer's.

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// The longest path a request carries.
size_t longestRequestPath();

// The bytes that ask for path to be opened; false with *why set when the path cannot be
// sent (relative, too long, or holding a line end).
bool openRequest(const std::string& path, std::string* request, std::string* why);

// Joins what the pipe gives, in pieces of any size, into the paths asked for; lines that
// are no request, and overlong ones, are passed over.
class InstanceRequests {
public:
    void feed(const char* bytes, size_t count);
    // The paths of the complete requests fed so far, oldest first; each is given once.
    std::vector<std::string> takePaths();

private:
    std::string m_line;
    bool m_overlong = false; // the current line ran over the limit: dropped up to its end
    std::vector<std::string> m_paths;
};

} // namespace platform
