#pragma once
// How a dialog keeps its controls; shared by modal dialogs and property pages.

#include "platform/ui/dialog.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/internal.h"

#include <QPointer>
#include <map>

class QDialog;

namespace platform {

struct DialogState {
    DialogTemplate layout;
    std::map<int, QPointer<QWidget>> controls;
    QDialog* modal = nullptr; // the dialog of dialogBox; null for property pages
    intptr_t result = 0;
    bool ended = false;
};

// Reads a template from the resources; false when missing or malformed.
bool loadDialogTemplate(const std::string& name, DialogTemplate* layout);
// A surface with the template's controls on parent; the window is adopted by top.
// Steps is the factor its font and pixels take.
Window* buildDialogWindow(const DialogTemplate& layout, DialogProc proc, QWidget* parent,
                          QWidget* top, int steps = currentSteps());
// The control of that id when it is a widget of kind T (a table, a progress bar), or null.
template <typename T> T* controlAs(Window* dialog, int id) {
    if (!dialog || !dialog->dialog) return nullptr;
    const auto found = dialog->dialog->controls.find(id);
    return found == dialog->dialog->controls.end() ? nullptr
                                                   : qobject_cast<T*>(found->second.data());
}

// The window's factor, or a smaller one when a dialog of the layout's size would not fit
// on the owner's screen at it: a dialog larger than the handheld's screen grown three
// times would leave its buttons out of reach.
int stepsThatFit(const DialogTemplate& layout, QWidget* owner);
// Open dialogs, innermost last.
void pushOpenDialog(Window* dialog);
void popOpenDialog(Window* dialog);

} // namespace platform
