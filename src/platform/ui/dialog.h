#pragma once
// Modal dialogs built from templates, run by a dialog procedure, and the operations
// on their controls by control id.
//
// The procedure receives WM_INITDIALOG before the dialog shows, WM_COMMAND with
// the control id in the low word and the notification in the high word, WM_PAINT
// and the pointer messages for the dialog's own drawing (logical pixels), WM_HELP
// and WM_NOTIFY; it answers non-zero for what it handled. The dialog ends only
// through endDialog: closing it sends WM_COMMAND IDCANCEL, Return IDOK.

#include "platform/ui/window.h"

#include <string>

namespace platform {

using DialogProc = WindowProc;

// The value given to endDialog, or -1 when the template is missing or does not read.
intptr_t dialogBox(const char* templateName, Window* owner, DialogProc proc,
                   intptr_t initParam = 0);
intptr_t dialogBox(int templateId, Window* owner, DialogProc proc, intptr_t initParam = 0);
void endDialog(Window* dialog, intptr_t result);
// The innermost dialog (or property page) that is open, or null.
Window* activeDialog();
std::string dialogTitle(Window* dialog);
// A title that names what the dialog shows (a file, a game).
void setDialogTitle(Window* dialog, const char* title);

std::string getDlgItemText(Window* dialog, int id);
bool setDlgItemText(Window* dialog, int id, const char* text);
bool isDlgButtonChecked(Window* dialog, int id);
void checkDlgButton(Window* dialog, int id, bool checked);
void enableDlgItem(Window* dialog, int id, bool enabled);
bool isDlgItemEnabled(Window* dialog, int id);
// A hidden control takes no room in what the user sees and no input.
void showDlgItem(Window* dialog, int id, bool shown);
bool isDlgItemShown(Window* dialog, int id);
bool hasDlgItem(Window* dialog, int id);
void setDlgItemFocus(Window* dialog, int id);

// List boxes and combo boxes alike. Indexes start at 0; -1 means none.
int listAddString(Window* dialog, int id, const char* text);
void listResetContent(Window* dialog, int id);
int listCount(Window* dialog, int id);
int listCurSel(Window* dialog, int id);
bool listSetCurSel(Window* dialog, int id, int index);
int listFindStringExact(Window* dialog, int id, const char* text);
// Selects the first entry that starts with prefix (any case); its index or -1.
int listSelectString(Window* dialog, int id, const char* prefix);
std::string listItemText(Window* dialog, int id, int index);

// Edit controls; positions count characters of the 8-bit text.
void editSetSel(Window* dialog, int id, int start, int end);
void editGetSel(Window* dialog, int id, int* start, int* end);
int editLineFromChar(Window* dialog, int id, int position);
int editLineCount(Window* dialog, int id);
void editScrollLines(Window* dialog, int id, int lines);
int editFirstVisibleLine(Window* dialog, int id);

// Acts as the user would on a control (tests and scripted use): a click on a button or
// box, the choice of a list entry, typed text.
bool clickDlgItem(Window* dialog, int id);
bool chooseDlgListItem(Window* dialog, int id, int index);
bool typeDlgItemText(Window* dialog, int id, const char* text);

} // namespace platform
