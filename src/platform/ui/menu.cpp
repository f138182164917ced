#include "platform/ui/menu.h"

#include "platform/ui/bitmap.h"
#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QAction>
#include <QBitmap>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QPixmap>
#include <QTextStream>
#include <QToolButton>
#include <map>

namespace platform {

struct MenuBar {
    Window* window;
    QWidget* widget;
    QHBoxLayout* row;
    std::map<int, QAction*> items;
    std::map<int, QToolButton*> buttons;
};

namespace {

// A menu line: a keyword, an optional number and an optional quoted text.
bool readMenuLine(const QString& line, QString* keyword, int* number, QString* text) {
    const int quote = line.indexOf(QLatin1Char('"'));
    const QString head = quote < 0 ? line : line.left(quote);
    const QStringList words = head.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return false;
    }
    *keyword = words[0];
    *number = 0;
    if (words.size() > 2) {
        return false;
    }
    if (words.size() == 2) {
        bool isNumber = false;
        *number = words[1].toInt(&isNumber);
        if (!isNumber) {
            return false;
        }
    }
    text->clear();
    if (quote >= 0) {
        const int closing = line.indexOf(QLatin1Char('"'), quote + 1);
        if (closing < 0 || !line.mid(closing + 1).trimmed().isEmpty()) {
            return false;
        }
        *text = line.mid(quote + 1, closing - quote - 1);
    }
    return true;
}

void sendCommandLater(Window* window, int command) {
    // Posted, so that a dialog opened by the command does not run inside the menu's own handling.
    postMessage(window, WM_COMMAND, makeWParam(unsigned(command), 0), 0);
}

} // namespace

bool loadMenu(int resourceId, Menu* menu) {
    QByteArray bytes;
    if (!menu || !readResource("menus/" + std::to_string(resourceId) + ".menu", &bytes)) {
        return false;
    }
    Menu loaded;
    QTextStream lines(bytes);
    lines.setEncoding(QStringConverter::Utf8);
    while (!lines.atEnd()) {
        QString line = lines.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        QString keyword;
        QString text;
        int number = 0;
        if (!readMenuLine(line, &keyword, &number, &text)) {
            return false;
        }
        if (keyword == QLatin1String("popup") && !text.isEmpty()) {
            loaded.popups.push_back(MenuPopup{narrow(text), {}});
        } else if (keyword == QLatin1String("item") && number > 0 && !text.isEmpty() &&
                   !loaded.popups.empty()) {
            loaded.popups.back().items.push_back(MenuItem{number, narrow(text)});
        } else if (keyword == QLatin1String("separator") && !loaded.popups.empty()) {
            loaded.popups.back().items.push_back(MenuItem{0, {}});
        } else {
            return false;
        }
    }
    if (loaded.popups.empty()) {
        return false;
    }
    *menu = loaded;
    return true;
}

MenuBar* createMenuBar(Window* window, int menuId) {
    Menu menu;
    if (!window || !window->top || window->dialog || window->menuBar || !loadMenu(menuId, &menu)) {
        return nullptr;
    }
    const int scale = effectiveScale();
    auto* bar = new MenuBar{window, new QWidget(window->top), nullptr, {}, {}};
    bar->widget->setFixedHeight(MENU_BAR_HEIGHT * scale);
    bar->widget->setAutoFillBackground(true);
    bar->row = new QHBoxLayout(bar->widget);
    bar->row->setContentsMargins(scale, 0, scale, 0);
    bar->row->setSpacing(0);
    for (const MenuPopup& popup : menu.popups) {
        auto* title = new QToolButton(bar->widget);
        title->setText(widen(popup.title));
        title->setPopupMode(QToolButton::InstantPopup);
        title->setToolButtonStyle(Qt::ToolButtonTextOnly);
        title->setAutoRaise(true);
        title->setFixedHeight(MENU_BAR_HEIGHT * scale);
        // The bar grows with the board, so its titles must too.
        QFont titleFont = title->font();
        titleFont.setPixelSize(11 * scale);
        title->setFont(titleFont);
        title->setStyleSheet(
            QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
        // Three titles and eight buttons share the board's width, as on the handheld.
        title->setFixedWidth(QFontMetrics(titleFont).horizontalAdvance(title->text()) + 8 * scale);
        auto* dropDown = new QMenu(title);
        dropDown->setFont(titleFont);
        for (const MenuItem& item : popup.items) {
            if (item.command == 0) {
                dropDown->addSeparator();
                continue;
            }
            QAction* action = dropDown->addAction(widen(item.text));
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, bar->widget,
                             [window, command] { sendCommandLater(window, command); });
            bar->items[command] = action;
        }
        title->setMenu(dropDown);
        bar->row->addWidget(title);
    }
    bar->row->addStretch(1);
    if (QLayout* frameLayout = window->top->layout()) {
        frameLayout->addWidget(bar->widget);
    }
    window->menuBar = bar;
    // The bar goes with its window.
    QObject::connect(bar->widget, &QObject::destroyed, [bar] { delete bar; });
    return bar;
}

bool addMenuBarButtons(MenuBar* bar, int bitmapId, const MenuBarButton* buttons, int count) {
    if (!bar || !buttons || count < 0) {
        return false;
    }
    Bitmap* strip = loadBitmap(bitmapId);
    if (!strip) {
        return false;
    }
    const int scale = effectiveScale();
    for (int i = 0; i < count; ++i) {
        const MenuBarButton& entry = buttons[i];
        auto* button = new QToolButton(bar->widget);
        button->setAutoRaise(true);
        button->setFixedSize(20 * scale, MENU_BAR_HEIGHT * scale - 2);
        button->setIconSize(QSize(16 * scale, 16 * scale));
        const QRect source(entry.image * 16, 0, 16, 16);
        if (strip->image.rect().contains(source)) {
            QPixmap image = QPixmap::fromImage(strip->image.copy(source));
            image.setMask(image.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
            button->setIcon(QIcon(image.scaled(16 * scale, 16 * scale, Qt::IgnoreAspectRatio,
                                               Qt::FastTransformation)));
        }
        button->setCheckable(entry.style & TBSTYLE_CHECK);
        button->setChecked(entry.state & TBSTATE_CHECKED);
        button->setEnabled(entry.state & TBSTATE_ENABLED);
        button->setVisible(!(entry.state & TBSTATE_HIDDEN));
        Window* window = bar->window;
        const int command = entry.command;
        QObject::connect(button, &QToolButton::clicked, bar->widget,
                         [window, command] { sendCommandLater(window, command); });
        bar->row->addWidget(button);
        bar->buttons[command] = button;
    }
    deleteBitmap(strip);
    return true;
}

bool setButtonState(MenuBar* bar, int command, uint8_t state) {
    if (!bar || !bar->buttons.count(command)) {
        return false;
    }
    QToolButton* button = bar->buttons[command];
    button->setEnabled(state & TBSTATE_ENABLED);
    if (button->isCheckable()) {
        button->setChecked(state & TBSTATE_CHECKED);
    }
    button->setVisible(!(state & TBSTATE_HIDDEN));
    return true;
}

int buttonState(MenuBar* bar, int command) {
    if (!bar || !bar->buttons.count(command)) {
        return -1;
    }
    const QToolButton* button = bar->buttons[command];
    return (button->isEnabled() ? TBSTATE_ENABLED : 0) |
           (button->isChecked() ? TBSTATE_CHECKED : 0) | (button->isHidden() ? TBSTATE_HIDDEN : 0);
}

MenuBar* menuBarOf(Window* window) {
    return window ? window->menuBar : nullptr;
}

bool pressMenuBarButton(MenuBar* bar, int command) {
    if (!bar || !bar->buttons.count(command) || !bar->buttons[command]->isEnabled()) {
        return false;
    }
    bar->buttons[command]->click();
    return true;
}

bool chooseMenuItem(MenuBar* bar, int command) {
    if (!bar || !bar->items.count(command) || !bar->items[command]->isEnabled()) {
        return false;
    }
    bar->items[command]->trigger();
    return true;
}

} // namespace platform
