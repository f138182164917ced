#include "app/engine_choice.h"

#include <cstdio>
#include <optional>

#include "app/app_state.h"
#include "app/engine_link.h"
#include "app/show_message.h"
#include "settings/settings.h"

namespace {

// Set for this run by the command line, or to Tarnwick after a failure.
std::optional<std::string> commandForRun;

} // namespace

void setEngineCommandForRun(const std::optional<std::string>& command) {
    commandForRun = command;
}

std::string storedEngineCommand() {
    CText command;
    if (!appState.settings || !appState.settings->getString(ENGINE_COMMAND_KEY, &command))
        return "";
    return command.c_str();
}

std::string chosenEngineCommand() {
    return commandForRun ? *commandForRun : storedEngineCommand();
}

void chooseEngine(const std::string& command) {
    const std::string before = chosenEngineCommand();
    if (appState.settings) appState.settings->setString(ENGINE_COMMAND_KEY, command.c_str());
    commandForRun.reset();
    if (command != before) switchEngineModule();
}

void engineDidNotStart(const std::string& command) {
    commandForRun = "";
    char text[600];
    std::snprintf(text, sizeof text,
                  "The engine '%.400s' did not start as a UCI engine: it is missing, not a "
                  "program, or did not answer. Tarnwick plays instead.",
                  command.c_str());
    showMessage(text);
}

void engineStoppedWorking() {
    char text[400];
    std::snprintf(text, sizeof text, "The engine %.200s stopped working. Tarnwick plays instead.",
                  appState.engineName.c_str());
    commandForRun = "";
    switchEngineModule();
    showMessage(text);
}
