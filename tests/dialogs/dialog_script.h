#pragma once
// Acts on the program's dialogs as they open, as a user would: each action in turn is
// given the dialog (or property page) open at that moment. An action that leaves its
// dialog open hands it to the next action. A dialog still open when the actions are
// used up is closed and its title kept in unexpected.
//
// Actions never assert: a failed assertion would return without closing the dialog.

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QTimer;

namespace platform {
struct Window;
}

class DialogScript {
public:
    using Action = std::function<void(platform::Window* dialog)>;

    explicit DialogScript(std::vector<Action> actions);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    size_t remaining() const { return m_actions.size(); }

    std::vector<std::string> titles; // the title of the dialog each action met
    std::vector<std::string> unexpected;

private:
    void tick();

    QTimer* m_timer;
    std::deque<Action> m_actions;
};

// Common actions.
DialogScript::Action pressOk();     // the OK button of a dialog or of the options sheet
DialogScript::Action pressCancel(); // closing the dialog, or the sheet's Cancel
DialogScript::Action pressHelp();   // the help key
