#pragma once
// The list view's widget, made by the dialog builder for a "listview" control.

class QWidget;

namespace platform {

struct Window;

QWidget* createListView(Window* dialog, int id, QWidget* parent);

} // namespace platform
