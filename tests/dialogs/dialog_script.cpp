#include "dialog_script.h"

#include "platform/ui/dialog.h"
#include "platform/ui/propertysheet.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

using namespace platform;

namespace {

constexpr int IDC_SETUP_RESET = 1032;

} // namespace

DialogScript::DialogScript(std::vector<Action> actions)
    : m_timer(new QTimer), m_actions(actions.begin(), actions.end()) {
    QObject::connect(m_timer, &QTimer::timeout, [this] { tick(); });
    m_timer->start(5);
}

DialogScript::~DialogScript() {
    m_timer->stop();
    delete m_timer;
}

void DialogScript::tick() {
    Window* dialog = activeDialog();
    if (!dialog || !QApplication::activeModalWidget()) return;
    if (m_actions.empty()) {
        unexpected.push_back(dialogTitle(dialog));
        // The setup board's pair of dialogs comes back until the board is legal: the
        // editor's Reset makes it so.
        clickDlgItem(dialog, IDC_SETUP_RESET);
        if (!pressPropertySheetButton(false)) endDialog(dialog, IDCANCEL);
        return;
    }
    const Action action = m_actions.front();
    m_actions.pop_front();
    titles.push_back(dialogTitle(dialog));
    action(dialog);
}

DialogScript::Action pressOk() {
    return [](Window* dialog) {
        if (!pressPropertySheetButton(true)) sendMessage(dialog, WM_COMMAND, IDOK, 0);
    };
}

DialogScript::Action pressCancel() {
    return [](Window* dialog) {
        if (!pressPropertySheetButton(false)) QApplication::activeModalWidget()->close();
        (void)dialog;
    };
}

DialogScript::Action pressHelp() {
    return [](Window* dialog) {
        // The options sheet has a Help button; a dialog hears the key as WM_HELP.
        QWidget* modal = QApplication::activeModalWidget();
        auto* buttons = modal ? modal->findChild<QDialogButtonBox*>() : nullptr;
        if (QPushButton* help = buttons ? buttons->button(QDialogButtonBox::Help) : nullptr) {
            help->click();
        } else {
            sendMessage(dialog, WM_HELP, 0, 0);
        }
    };
}
