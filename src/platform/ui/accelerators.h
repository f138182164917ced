#pragma once
// Accelerator tables: keys that send a command to a window.

namespace platform {

struct Window;
struct Accelerators;

// Null when the resource is missing or has a line that does not read.
Accelerators* loadAccelerators(int resourceId);
void destroyAccelerators(Accelerators* accelerators);
// From now on the table's keys pressed in the window send WM_COMMAND with the command id.
void attachAccelerators(Window* window, Accelerators* accelerators);
int acceleratorCount(const Accelerators* accelerators);
// The command of a key such as "Ctrl+Q" or "Left", or 0.
int acceleratorCommand(const Accelerators* accelerators, const char* key);

} // namespace platform
