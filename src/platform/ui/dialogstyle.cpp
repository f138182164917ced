// Dialogs at the window's factor: the desktop's style draws check marks, radio buttons,
// icons and scroll bars at its own fixed sizes, which look lost beside text grown with the
// board. A proxy of that style grows those sizes by the same factor.
#include "platform/ui/internal.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <algorithm>
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

    // The drop-down's button keeps the style's width unless told: grown with the text it
    // sits beside, with an arrow to match.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl part, const QWidget* widget) const override {
        const QRect base = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox || m_scale < 1.05) {
            return base;
        }
        const QRect arrow = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
        const int grown = int(std::lround(arrow.width() * m_scale));
        const int extra = std::min(grown - arrow.width(), option->rect.width() / 3);
        if (extra <= 0) {
            return base;
        }
        switch (part) {
        case SC_ComboBoxArrow:
            return base.adjusted(-extra, 0, 0, 0);
        case SC_ComboBoxEditField:
            return base.adjusted(0, 0, -extra, 0);
        default:
            return base;
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (control != CC_ComboBox || !combo || m_scale < 1.05) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionComboBox withoutArrow = *combo;
        withoutArrow.subControls &= ~SC_ComboBoxArrow;
        QProxyStyle::drawComplexControl(control, &withoutArrow, painter, widget);
        // The style's own arrow has a fixed size whatever room it is given.
        const QRectF area = subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
        const double half = std::min(area.width(), area.height()) / 6;
        const QPointF centre = area.center();
        const QPointF corners[] = {centre + QPointF(-half, -half / 2),
                                   centre + QPointF(half, -half / 2),
                                   centre + QPointF(0, half / 2)};
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(combo->palette.color(
            combo->state & State_Enabled ? QPalette::Active : QPalette::Disabled,
            QPalette::ButtonText));
        painter->drawPolygon(corners, 3);
        painter->restore();
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
