#pragma once
// Asynchronous sound: WAV files by path, and the desktop's bell for the "Default" sound.
// Without an audio device nothing is heard and nothing fails.

#include <functional>
#include <string>

namespace platform {

constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_NODEFAULT = 0x0002;
constexpr unsigned SND_ALIAS = 0x00010000;
constexpr unsigned SND_FILENAME = 0x00020000;

// A path (handheld paths are mapped) or, with SND_ALIAS, a system sound name.
// A missing file sounds the bell unless SND_NODEFAULT is given.
void playSound(const char* name, unsigned flags);

using SoundHook = std::function<void(const std::string& name, unsigned flags)>;
// While set, requests go to the hook and nothing is played.
void setSoundHook(SoundHook hook);

} // namespace platform
