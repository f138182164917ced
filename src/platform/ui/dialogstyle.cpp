// Dialogs at the window's factor: the desktop's style draws check marks, radio buttons,
// icons and scroll bars at its own fixed sizes, which look lost beside text grown with the
// board. A proxy of that style grows those sizes by the same factor.
#include "platform/ui/internal.h"

#include <QApplication>
#include <QProxyStyle>
#include <QWidget>
#include <cmath>
#include <map>

namespace platform {
namespace {

class ScaledStyle : public QProxyStyle {
public:
    explicit ScaledStyle(double scale)
        : QProxyStyle(QApplication::style()->name()), m_scale(scale) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_SmallIconSize:
        case PM_ButtonIconSize:
        case PM_ScrollBarExtent:
        case PM_TabBarIconSize:
        case PM_MessageBoxIconSize:
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return int(std::lround(base * m_scale));
        default:
            return base;
        }
    }

private:
    double m_scale;
};

// One style per factor, alive as long as the application: widgets only point to it.
QStyle* styleFor(double scale) {
    static std::map<int, QStyle*> styles;
    const int key = int(std::lround(scale * 100));
    QStyle*& style = styles[key];
    if (!style) {
        style = new ScaledStyle(scale);
        style->setParent(qApp);
    }
    return style;
}

} // namespace

void scaleControls(QWidget* top, int steps) {
    const double scale = widgetScale(steps);
    if (!top || scale < 1.05) {
        return; // at the handheld's size the desktop's own sizes fit
    }
    QStyle* style = styleFor(scale);
    top->setStyle(style);
    for (QWidget* child : top->findChildren<QWidget*>()) {
        child->setStyle(style);
    }
}

} // namespace platform
