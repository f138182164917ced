#pragma once
// Dialog templates as the layer reads them from the resources.
//
// A template is text, one statement per line ("#" starts a comment):
//   dialog "Title" WIDTH HEIGHT        size in dialog units
//   units pixels                       positions below are logical pixels instead
//   paint WIDTH HEIGHT                 at least this many logical pixels for the procedure's
//   drawing KIND ID "Text" X Y WIDTH HEIGHT [STYLE...]
// KIND is static, button, checkbox (toggled by the procedure), autocheckbox, radio,
// edit, combo (editable drop-down), droplist, listbox, listview (rows under column
// headings, see listview.h), progress (a bar, see progress.h) or group. STYLEs are
// center, right, default, multiline, readonly, sort, vscroll and group (a radio
// that starts a new group).

#include <string>
#include <vector>

namespace platform {

enum class ControlKind {
    staticText,
    button,
    checkBox,
    autoCheckBox,
    radio,
    edit,
    combo,
    dropList,
    listBox,
    listView,
    progress,
    group
};

enum ControlStyle : unsigned {
    STYLE_CENTER = 1u << 0,
    STYLE_RIGHT = 1u << 1,
    STYLE_DEFAULT = 1u << 2,
    STYLE_MULTILINE = 1u << 3,
    STYLE_READONLY = 1u << 4,
    STYLE_SORT = 1u << 5,
    STYLE_VSCROLL = 1u << 6,
    STYLE_GROUP = 1u << 7,
};

struct ControlTemplate {
    ControlKind kind;
    int id;
    std::string text;
    int x, y, width, height;
    unsigned styles;
};

struct DialogTemplate {
    std::string title;
    int width = 0;
    int height = 0;
    bool pixelUnits = false;
    int paintWidth = 0;
    int paintHeight = 0;
    std::vector<ControlTemplate> controls;
};

// False with *error naming the line when the text does not read.
bool parseDialogTemplate(const std::string& text, DialogTemplate* dialog, std::string* error);

} // namespace platform
