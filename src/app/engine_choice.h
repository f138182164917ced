#pragma once
// Which engine plays: Tarnwick (the default) or an external UCI engine run through the
// bridge module, as stored in the settings or given on the command line for one run. An
// engine that does not start, or stops working, is said so and Tarnwick plays instead for
// the rest of the run; the stored choice stays.

#include <optional>
#include <string>

// The setting: the UCI engine's command line, a path and its arguments as a shell splits
// them; empty or absent for Tarnwick.
constexpr char ENGINE_COMMAND_KEY[] = "EngineCommand";

// --engine COMMAND: this run only, nothing stored; nullopt goes back to the stored choice.
void setEngineCommandForRun(const std::optional<std::string>& command);
// What the engine module is to run now; empty for Tarnwick.
std::string chosenEngineCommand();
// The stored choice, as the Options sheet shows it.
std::string storedEngineCommand();
// The Options sheet's choice: stored, and the engine is changed at once when it differs
// from the one playing.
void chooseEngine(const std::string& command);

// The chosen engine did not start (at start-up or when chosen), or failed in a game:
// the user is told, and Tarnwick plays from now on in this run.
void engineDidNotStart(const std::string& command);
void engineStoppedWorking();
