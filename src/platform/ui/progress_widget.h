#pragma once
// The progress bar's widget, made by the dialog builder for a "progress" control.

class QWidget;

namespace platform {

QWidget* createProgress(QWidget* parent);

} // namespace platform
