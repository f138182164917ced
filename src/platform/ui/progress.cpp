#include "platform/ui/progress.h"

#include "platform/ui/dialogstate.h"
#include "platform/ui/progress_widget.h"

#include <QProgressBar>
#include <algorithm>

namespace platform {
namespace {

constexpr int FULL = 1000;

QProgressBar* barOf(Window* dialog, int id) {
    return controlAs<QProgressBar>(dialog, id);
}

} // namespace

QWidget* createProgress(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, FULL);
    bar->setValue(0);
    // The percentage is the bar's own text; a dialog says in words what it counts.
    bar->setTextVisible(true);
    bar->setFormat("%p%");
    return bar;
}

void setDlgItemProgress(Window* dialog, int id, int perMille) {
    if (QProgressBar* bar = barOf(dialog, id)) bar->setValue(std::clamp(perMille, 0, FULL));
}

int dlgItemProgress(Window* dialog, int id) {
    QProgressBar* bar = barOf(dialog, id);
    return bar ? bar->value() : -1;
}

} // namespace platform
