#include "dialog_fixture.h"

#include "app/dialog_game_file.h"

#include <fstream>
#include <sstream>

using namespace platform;

void DialogTest::SetUp() {
    ProgramTest::SetUp();
    appState.autoAnswer = false;
    setFileDialogHook([this](const FileDialogRequest& request, std::string* path) {
        fileAsks.push_back(request);
        *path = fileAnswer;
        return !fileAnswer.empty();
    });
}

void DialogTest::TearDown() {
    setFileDialogHook({});
    setSaveFileSystem(nullptr);
    ProgramTest::TearDown();
}

void DialogTest::commandWith(int id, std::vector<DialogScript::Action> actions) {
    DialogScript script(std::move(actions));
    command(id);
    actionsLeft = script.remaining();
    unexpectedDialogs = script.unexpected;
}

std::string DialogTest::dataFile(const char* name) {
    return std::string(TEST_DATA_DIR) + "/" + name;
}

std::string DialogTest::rootFile(const char* name) const {
    return root->path + name;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
