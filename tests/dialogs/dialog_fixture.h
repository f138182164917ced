#pragma once
// The whole program with its dialogs: the engine does not answer, file dialogs answer
// with a scripted path, and test files live in the test's own root folder.

#include "dialog_script.h"
#include "platform/ui/filedialog.h"
#include "program.h"

#include <ostream>
#include <string>
#include <vector>

class DialogTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the command while the script acts on the dialogs it opens.
    void commandWith(int id, std::vector<DialogScript::Action> actions);

    // A file of the test data; a path in the test's root folder.
    static std::string dataFile(const char* name);
    std::string rootFile(const char* name) const;

    std::string fileAnswer; // what the file dialog answers; empty cancels
    std::vector<platform::FileDialogRequest> fileAsks; // every file dialog asked for
    std::vector<std::string> unexpectedDialogs;        // dialogs no action was left for
    size_t actionsLeft = 0;                            // actions of the last script never run
};

// Test messages show texts as text.
inline void PrintTo(const CText& text, std::ostream* out) {
    *out << '"' << text.c_str() << '"';
}

void writeFile(const std::string& path, const std::string& bytes);
