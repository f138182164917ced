#include "platform/ui/menu.h"

#include "platform/ui/bitmap.h"
#include "platform/ui/frame.h"
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
#include <algorithm>
#include <cmath>
#include <map>

namespace platform {

struct MenuBar {
    Window* window;
    QWidget* widget;
    QHBoxLayout* row;
    std::map<int, QAction*> items;
    std::map<int, QToolButton*> buttons;
    std::vector<QToolButton*> titles;
    std::map<int, QString> names;     // what each command is called, for tooltips
    std::map<int, QString> shortcuts; // the key of each command, shown beside its name
    std::map<int, int> buttonImages;  // command -> image in the button bitmap
    int buttonBitmap = 0;
    int steps = 0; // the factor the bar is laid out at
    double ratio = 1;
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

// A name without the ellipsis that says a dialog follows.
QString commandName(const QString& text) {
    // A key written after a tab in the menu's text is no part of the name.
    QString name = text.section(QLatin1Char('\t'), 0, 0);
    while (name.endsWith(QLatin1Char('.'))) {
        name.chop(1);
    }
    return name.trimmed();
}

// The widest text beside the widest shortcut, with room around both: left to itself the
// menu cuts the middle out of its items at some sizes.
int dropDownWidth(const QMenu* menu) {
    const QFontMetrics metrics(menu->font());
    int texts = 0;
    int shortcuts = 0;
    for (const QAction* action : menu->actions()) {
        texts = std::max(texts, metrics.horizontalAdvance(action->text().section('\t', 0, 0)));
        shortcuts = std::max(shortcuts, metrics.horizontalAdvance(action->text().section('\t', 1)));
    }
    return texts + shortcuts + 4 * metrics.height();
}

void sizeDropDown(QMenu* menu) {
    menu->setMinimumWidth(dropDownWidth(menu));
}

void showNameAndShortcut(MenuBar* bar, int command) {
    const QString shortcut = bar->shortcuts.count(command) ? bar->shortcuts[command] : QString();
    if (bar->items.count(command)) {
        QAction* action = bar->items[command];
        // After a tab the menu shows the text in its column of shortcuts.
        const QString text = action->text().section(QLatin1Char('\t'), 0, 0);
        action->setText(shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut);
        if (auto* menu = qobject_cast<QMenu*>(action->parent())) {
            sizeDropDown(menu);
        }
    }
    if (bar->buttons.count(command)) {
        const QString name = bar->names.count(command) ? bar->names[command] : QString();
        bar->buttons[command]->setToolTip(shortcut.isEmpty() || name.isEmpty()
                                              ? name
                                              : name + QStringLiteral(" (") + shortcut +
                                                    QLatin1Char(')'));
    }
}

// The button images at the bar's factor, each at device resolution.
void setButtonIcons(MenuBar* bar) {
    Bitmap* strip = loadBitmap(bar->buttonBitmap);
    if (!strip) {
        return;
    }
    matchSteps(strip, bar->steps);
    for (const auto& [command, index] : bar->buttonImages) {
        const QRect source = deviceRect(QRect(index * 16, 0, 16, 16), strip->steps);
        if (!strip->image.rect().contains(source)) {
            continue;
        }
        QPixmap image = QPixmap::fromImage(strip->image.copy(source));
        if (!strip->image.hasAlphaChannel()) {
            image.setMask(image.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
        }
        image.setDevicePixelRatio(bar->ratio);
        bar->buttons[command]->setIcon(QIcon(image));
    }
    deleteBitmap(strip);
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
        } else if (keyword == QLatin1String("command") && number > 0 && !text.isEmpty()) {
            loaded.commands.push_back(MenuItem{number, narrow(text)});
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
    auto* bar = new MenuBar{window, new QWidget(window->top), nullptr, {}, {}, {}, {}, {}, {}};
    bar->widget->setAutoFillBackground(true);
    bar->row = new QHBoxLayout(bar->widget);
    bar->row->setSpacing(0);
    for (const MenuItem& named : menu.commands) {
        bar->names[named.command] = commandName(widen(named.text));
    }
    for (const MenuPopup& popup : menu.popups) {
        auto* title = new QToolButton(bar->widget);
        title->setText(widen(popup.title));
        title->setPopupMode(QToolButton::InstantPopup);
        title->setToolButtonStyle(Qt::ToolButtonTextOnly);
        title->setAutoRaise(true);
        title->setStyleSheet(
            QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
        // The drop-down belongs to the bar, not to the title: the title's style sheet would
        // otherwise size its items with another font than it draws them in, and cut them.
        auto* dropDown = new QMenu(bar->widget);
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
            bar->names.emplace(command, commandName(widen(item.text)));
        }
        title->setMenu(dropDown);
        bar->row->addWidget(title);
        bar->titles.push_back(title);
    }
    bar->row->addStretch(1);
    window->menuBar = bar;
    // The bar goes with its window.
    QObject::connect(bar->widget, &QObject::destroyed, [bar] { delete bar; });
    if (auto* frame = dynamic_cast<Frame*>(window->top.data())) {
        frame->layOut();
    }
    return bar;
}

void layOutMenuBar(MenuBar* bar, const QRect& area, int steps, double pixelRatio) {
    bar->widget->setGeometry(area);
    if (bar->steps == steps && bar->ratio == pixelRatio) {
        return;
    }
    bar->steps = steps;
    bar->ratio = pixelRatio;
    // Widget pixels per logical pixel: the bar grows with the board.
    const double scale = steps / double(STEPS_PER_PIXEL) / pixelRatio;
    auto scaled = [scale](double logical) { return int(std::lround(logical * scale)); };
    bar->widget->setFixedHeight(area.height());
    bar->row->setContentsMargins(scaled(1), 0, scaled(1), 0);
    for (QToolButton* title : bar->titles) {
        QFont titleFont = title->font();
        titleFont.setPixelSize(scaled(11));
        title->setFont(titleFont);
        title->setFixedHeight(area.height());
        // Three titles and eight buttons share the board's width, as on the handheld.
        title->setFixedWidth(QFontMetrics(titleFont).horizontalAdvance(title->text()) + scaled(8));
        title->menu()->setFont(titleFont);
        sizeDropDown(title->menu());
    }
    for (const auto& [command, button] : bar->buttons) {
        button->setFixedSize(scaled(20), area.height() - 2);
        const int icon = int(std::lround(deviceEdge(16, steps) / pixelRatio));
        button->setIconSize(QSize(icon, icon));
    }
    setButtonIcons(bar);
}

void showMenuShortcut(MenuBar* bar, int command, const QString& key) {
    if (!bar || bar->shortcuts.count(command)) {
        return; // the first key of a command is the one shown
    }
    bar->shortcuts[command] = key;
    showNameAndShortcut(bar, command);
}

bool addMenuBarButtons(MenuBar* bar, int bitmapId, const MenuBarButton* buttons, int count) {
    if (!bar || !buttons || count < 0) {
        return false;
    }
    Bitmap* strip = loadBitmap(bitmapId);
    if (!strip) {
        return false;
    }
    deleteBitmap(strip);
    bar->buttonBitmap = bitmapId;
    for (int i = 0; i < count; ++i) {
        const MenuBarButton& entry = buttons[i];
        auto* button = new QToolButton(bar->widget);
        button->setAutoRaise(true);
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
        bar->buttonImages[command] = entry.image;
        showNameAndShortcut(bar, command);
    }
    // Lay the bar out again with its buttons.
    bar->steps = 0;
    if (auto* frame = dynamic_cast<Frame*>(bar->window->top.data())) {
        frame->layOut();
    }
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
