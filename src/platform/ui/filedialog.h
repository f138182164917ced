#pragma once
// The open and save file dialogs, behind a hook that tests replace with a scripted answer.

#include <functional>
#include <string>

namespace platform {

struct Window;

struct FileDialogRequest {
    std::string title;            // "Select file"
    std::string filterText;       // ".pgn file (*.pgn)"
    std::string pattern;          // "*.pgn"
    std::string defaultExtension; // "pgn", added to a name typed without one
    std::string initialFolder;    // handheld paths are mapped
    bool save = false;
    bool mustExist = false;       // open: path and file must exist
    bool overwritePrompt = false; // save: ask before replacing a file
};

// True with *path set when the user chose a file; false when cancelled.
bool getFileName(Window* owner, const FileDialogRequest& request, std::string* path);

using FileDialogHook = std::function<bool(const FileDialogRequest& request, std::string* path)>;
void setFileDialogHook(FileDialogHook hook);

} // namespace platform
