#include "platform/ui/dialogstate.h"
#include "platform/ui/listview_widget.h"
#include "platform/ui/progress_widget.h"
#include "platform/ui/text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {
namespace {

std::vector<Window*> openDialogs;

void sendCommand(Window* dialog, int id, unsigned code) {
    sendMessage(dialog, WM_COMMAND, makeWParam(unsigned(id), code), 0);
}

// A check box that the procedure toggles: a click only reports.
class ReportingCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

// Closing, Escape and Return become commands to the procedure, which decides whether to end.
class ProcDialog : public QDialog {
public:
    ProcDialog(QWidget* owner, Window** window) : QDialog(owner), m_window(window) {}
    void accept() override { command(IDOK); }
    void reject() override { command(IDCANCEL); }

private:
    void command(int id) {
        if (*m_window && !(*m_window)->dialog->ended) {
            sendCommand(*m_window, id, BN_CLICKED);
        }
    }
    Window** m_window;
};

// Reports focus (and, for text boxes, every tap) as the handheld's notifications.
class FocusReporter : public QObject {
public:
    FocusReporter(Window* dialog, int id, unsigned code, QObject* parent)
        : QObject(parent), m_dialog(dialog), m_id(id), m_code(code) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonRelease) {
            // Deferred so that the control has moved its cursor to the tap before the procedure
            // asks.
            QMetaObject::invokeMethod(
                this, [this] { sendCommand(m_dialog, m_id, m_code); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    Window* m_dialog;
    int m_id;
    unsigned m_code;
};

QWidget* control(Window* dialog, int id) {
    if (!dialog || !dialog->dialog) {
        return nullptr;
    }
    const auto found = dialog->dialog->controls.find(id);
    return found == dialog->dialog->controls.end() ? nullptr : found->second.data();
}

int sortedInsertIndex(const QStringList& items, const QString& text) {
    int index = 0;
    while (index < items.size() && QString::compare(items[index], text, Qt::CaseInsensitive) <= 0) {
        ++index;
    }
    return index;
}

QStringList itemsOf(QWidget* widget) {
    QStringList items;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        for (int i = 0; i < list->count(); ++i) {
            items << list->item(i)->text();
        }
    }
    return items;
}

QString plainText(QWidget* widget) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        return edit->toPlainText();
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return line->text();
    }
    return {};
}

// Where each character of a control's wide text starts in its 8-bit text, with one
// more entry for the end. A multi-line edit keeps the 8-bit text it was given, so that
// positions count that text's characters with its line breaks as two ("\r\n"), as the
// handheld's control counted them, while the widget holds one character per line break.
// Once the text is typed over, positions count the text as getDlgItemText returns it.
class PositionMap {
public:
    explicit PositionMap(QWidget* widget) : m_text(plainText(widget)) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            mapGivenText(edit->property(GIVEN_TEXT).toByteArray());
        }
        if (m_offsets.empty()) {
            int bytes = 0;
            for (const QChar c : m_text) {
                m_offsets.push_back(bytes);
                bytes += int(QString(c).toUtf8().size());
            }
            m_offsets.push_back(bytes);
        }
    }

    const QString& text() const { return m_text; }
    // The first wide position at or after the 8-bit one.
    int toWide(int narrow) const {
        const auto found = std::lower_bound(m_offsets.begin(), m_offsets.end(), narrow);
        return found == m_offsets.end() ? int(m_text.size()) : int(found - m_offsets.begin());
    }
    int toNarrow(int wide) const {
        return m_offsets[size_t(std::clamp(wide, 0, int(m_text.size())))];
    }

    static constexpr const char* GIVEN_TEXT = "givenText";

private:
    void mapGivenText(const QByteArray& given) {
        if (given.isEmpty()) {
            return;
        }
        // Decoded as widen decodes: UTF-8 when the whole text is valid UTF-8, else Windows-1252.
        const QString wide = widen(given.toStdString());
        std::vector<int> starts;
        if (wide == QString::fromUtf8(given) && !given.contains('\0')) {
            for (int i = 0; i < given.size();) {
                const auto lead = static_cast<unsigned char>(given[i]);
                const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
                const int units = int(QString::fromUtf8(given.constData() + i, length).size());
                starts.insert(starts.end(), size_t(units), i);
                i += length;
            }
        } else {
            for (int i = 0; i < given.size(); ++i) {
                starts.push_back(i);
            }
        }
        if (starts.size() != size_t(wide.size())) {
            return;
        }
        // The widget drops the carriage return of each line break; nothing else may differ.
        std::vector<int> offsets;
        int w = 0;
        for (const QChar c : m_text) {
            while (w < wide.size() && wide[w] == QLatin1Char('\r') && c != QLatin1Char('\r')) {
                ++w;
            }
            if (w >= wide.size() || wide[w] != c) {
                return;
            }
            offsets.push_back(starts[size_t(w++)]);
        }
        while (w < wide.size() && wide[w] == QLatin1Char('\r')) {
            ++w;
        }
        if (w != wide.size()) {
            return;
        }
        offsets.push_back(int(given.size()));
        m_offsets = std::move(offsets);
    }

    QString m_text;
    std::vector<int> m_offsets;
};

} // namespace

bool loadDialogTemplate(const std::string& name, DialogTemplate* layout) {
    QByteArray bytes;
    if (name.empty() || name.find('/') != std::string::npos ||
        !readResource("dialogs/" + name + ".dlg", &bytes)) {
        return false;
    }
    std::string error;
    return parseDialogTemplate(bytes.toStdString(), layout, &error);
}

void pushOpenDialog(Window* dialog) {
    openDialogs.push_back(dialog);
}

void popOpenDialog(Window* dialog) {
    openDialogs.erase(std::remove(openDialogs.begin(), openDialogs.end(), dialog),
                      openDialogs.end());
}

namespace {

// Dialog units follow the font as the handheld's did: a quarter of the average character
// width across, an eighth of the line height down.
struct DialogUnits {
    double x;
    double y;
};

DialogUnits dialogUnits(const DialogTemplate& layout, int steps) {
    if (layout.pixelUnits) {
        return {widgetScale(steps), widgetScale(steps)};
    }
    const QFontMetrics metrics(dialogFont(steps));
    return {metrics.horizontalAdvance(
                QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                52.0 / 4.0,
            metrics.height() / 8.0};
}

QSize dialogSize(const DialogTemplate& layout, const DialogUnits& units, int steps) {
    const double scale = widgetScale(steps);
    return {std::max(int(layout.width * units.x + 0.5), int(std::ceil(layout.paintWidth * scale))),
            std::max(int(layout.height * units.y + 0.5),
                     int(std::ceil(layout.paintHeight * scale)))};
}

} // namespace

int stepsThatFit(const DialogTemplate& layout, QWidget* owner) {
    const int steps = currentSteps();
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return steps;
    }
    // Room for the title bar and the frame the window manager adds.
    const QSize room = screen->availableGeometry().size() - QSize(16, 48);
    const QSize wanted = dialogSize(layout, dialogUnits(layout, steps), steps);
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) {
        return steps;
    }
    const double shrink = std::min(room.width() / double(wanted.width()),
                                   room.height() / double(wanted.height()));
    const int smallest = int(std::lround(pixelRatioOf(nullptr) * STEPS_PER_PIXEL));
    return std::max(smallest, int(std::floor(steps * shrink)));
}

Window* buildDialogWindow(const DialogTemplate& layout, DialogProc proc, QWidget* parent,
                          QWidget* top, int steps) {
    auto* window = new Window;
    window->proc = proc;
    window->dialog = new DialogState;
    window->dialog->layout = layout;
    window->top = top;
    auto* surface = new Surface(window, parent);
    window->surface = surface;
    // Dialogs grow with the board: their font and their pixels take the window's factor.
    window->steps = steps;
    surface->setFont(dialogFont(steps));
    const DialogUnits units = dialogUnits(layout, steps);
    auto place = [&](int x, int y, int width, int height) {
        return QRect(int(x * units.x + 0.5), int(y * units.y + 0.5), int(width * units.x + 0.5),
                     int(height * units.y + 0.5));
    };
    surface->setFixedSize(dialogSize(layout, units, steps));
    QButtonGroup* radioGroup = nullptr;
    for (const ControlTemplate& item : layout.controls) {
        QWidget* widget = nullptr;
        const QString text = widen(item.text);
        const int id = item.id;
        switch (item.kind) {
        case ControlKind::staticText: {
            auto* label = new QLabel(text, surface);
            label->setWordWrap(true);
            label->setAlignment((item.styles & STYLE_CENTER  ? Qt::AlignHCenter
                                 : item.styles & STYLE_RIGHT ? Qt::AlignRight
                                                             : Qt::AlignLeft) |
                                Qt::AlignTop);
            label->setOpenExternalLinks(true);
            widget = label;
            break;
        }
        case ControlKind::button: {
            auto* button = new QPushButton(text, surface);
            button->setAutoDefault(false);
            button->setDefault(item.styles & STYLE_DEFAULT);
            QObject::connect(button, &QPushButton::clicked, surface,
                             [window, id] { sendCommand(window, id, BN_CLICKED); });
            widget = button;
            break;
        }
        case ControlKind::checkBox:
        case ControlKind::autoCheckBox: {
            auto* box = item.kind == ControlKind::checkBox ? new ReportingCheckBox(text, surface)
                                                           : new QCheckBox(text, surface);
            QObject::connect(box, &QCheckBox::clicked, surface,
                             [window, id] { sendCommand(window, id, BN_CLICKED); });
            widget = box;
            break;
        }
        case ControlKind::radio: {
            auto* radio = new QRadioButton(text, surface);
            if (!radioGroup || (item.styles & STYLE_GROUP)) {
                radioGroup = new QButtonGroup(surface);
            }
            radioGroup->addButton(radio);
            QObject::connect(radio, &QRadioButton::clicked, surface,
                             [window, id] { sendCommand(window, id, BN_CLICKED); });
            widget = radio;
            break;
        }
        case ControlKind::edit:
            if (item.styles & STYLE_MULTILINE) {
                auto* edit = new QPlainTextEdit(text, surface);
                edit->setReadOnly(item.styles & STYLE_READONLY);
                edit->setVerticalScrollBarPolicy(
                    item.styles & STYLE_VSCROLL ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
                QObject::connect(edit, &QPlainTextEdit::textChanged, surface, [window, id, edit] {
                    if (edit->hasFocus()) {
                        sendCommand(window, id, EN_CHANGE);
                    }
                });
                edit->viewport()->installEventFilter(
                    new FocusReporter(window, id, EN_SETFOCUS, edit));
                widget = edit;
            } else {
                auto* line = new QLineEdit(text, surface);
                line->setReadOnly(item.styles & STYLE_READONLY);
                QObject::connect(line, &QLineEdit::textEdited, surface,
                                 [window, id] { sendCommand(window, id, EN_CHANGE); });
                line->installEventFilter(new FocusReporter(window, id, EN_SETFOCUS, line));
                widget = line;
            }
            break;
        case ControlKind::combo:
        case ControlKind::dropList: {
            auto* combo = new QComboBox(surface);
            combo->setEditable(item.kind == ControlKind::combo);
            combo->setInsertPolicy(QComboBox::NoInsert);
            QObject::connect(combo, &QComboBox::activated, surface,
                             [window, id] { sendCommand(window, id, CBN_SELCHANGE); });
            if (combo->isEditable()) {
                combo->lineEdit()->setText(text);
                QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, surface,
                                 [window, id] { sendCommand(window, id, CBN_EDITCHANGE); });
                combo->lineEdit()->installEventFilter(
                    new FocusReporter(window, id, CBN_SETFOCUS, combo));
            }
            widget = combo;
            break;
        }
        case ControlKind::listBox: {
            auto* list = new QListWidget(surface);
            QObject::connect(list, &QListWidget::itemClicked, surface,
                             [window, id] { sendCommand(window, id, LBN_SELCHANGE); });
            widget = list;
            break;
        }
        case ControlKind::listView:
            widget = createListView(window, id, surface);
            break;
        case ControlKind::progress:
            widget = createProgress(surface);
            break;
        case ControlKind::group: {
            auto* group = new QGroupBox(text, surface);
            widget = group;
            break;
        }
        }
        // A template gives a drop-down the height of its open list, as the handheld's
        // did; closed it is one line high.
        const bool dropDown = item.kind == ControlKind::combo || item.kind == ControlKind::dropList;
        widget->setGeometry(
            place(item.x, item.y, item.width, dropDown ? std::min(item.height, 12) : item.height));
        widget->setProperty("sortedList", bool(item.styles & STYLE_SORT));
        if (item.kind == ControlKind::group) {
            widget->lower();
        }
        if (id != -1) {
            window->dialog->controls[id] = widget;
        }
    }
    adoptWindow(window);
    resizeBackBuffer(window);
    return window;
}

intptr_t dialogBox(const char* templateName, Window* owner, DialogProc proc, intptr_t initParam) {
    DialogTemplate layout;
    if (!templateName || !proc || !loadDialogTemplate(templateName, &layout)) {
        return -1;
    }
    Window* window = nullptr;
    QWidget* ownerTop = owner && owner->top ? owner->top.data() : nullptr;
    const int steps = stepsThatFit(layout, ownerTop);
    auto* modal = new ProcDialog(ownerTop, &window);
    modal->setWindowTitle(widen(layout.title));
    modal->setFont(dialogFont(steps));
    auto* column = new QVBoxLayout(modal);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    window = buildDialogWindow(layout, proc, modal, modal, steps);
    window->dialog->modal = modal;
    column->addWidget(window->surface);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), modal);
    QObject::connect(help, &QShortcut::activated, modal,
                     [window] { sendMessage(window, WM_HELP, 0, 0); });
    pushOpenDialog(window);
    sendMessage(window, WM_INITDIALOG, 0, initParam);
    if (!window->dialog->ended) {
        scaleControls(modal, steps);
        modal->exec();
    }
    const intptr_t result = window->dialog->result;
    popOpenDialog(window);
    sendMessage(window, WM_DESTROY, 0, 0);
    window->destroyed = true;
    delete window->dialog;
    window->dialog = nullptr;
    delete modal; // frees the window record with it
    return result;
}

intptr_t dialogBox(int templateId, Window* owner, DialogProc proc, intptr_t initParam) {
    return dialogBox(std::to_string(templateId).c_str(), owner, proc, initParam);
}

void endDialog(Window* dialog, intptr_t result) {
    if (!dialog || !dialog->dialog || dialog->dialog->ended) {
        return;
    }
    dialog->dialog->ended = true;
    dialog->dialog->result = result;
    if (dialog->dialog->modal) {
        dialog->dialog->modal->done(0);
    }
}

Window* activeDialog() {
    return openDialogs.empty() ? nullptr : openDialogs.back();
}

void setDialogTitle(Window* dialog, const char* title) {
    if (!dialog || !dialog->dialog) {
        return;
    }
    dialog->dialog->layout.title = title ? title : "";
    if (dialog->dialog->modal) {
        dialog->dialog->modal->setWindowTitle(widen(dialog->dialog->layout.title));
    }
}

std::string dialogTitle(Window* dialog) {
    return dialog && dialog->dialog ? dialog->dialog->layout.title : std::string();
}

std::string getDlgItemText(Window* dialog, int id) {
    QWidget* widget = control(dialog, id);
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        text = combo->currentText();
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        text = list->currentItem() ? list->currentItem()->text() : QString();
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        text = group->title();
    } else {
        text = plainText(widget);
    }
    return narrow(text);
}

bool setDlgItemText(Window* dialog, int id, const char* text) {
    QWidget* widget = control(dialog, id);
    const QString wide = widen(text);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(wide);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(wide);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) {
            combo->setEditText(wide);
        } else {
            combo->setCurrentIndex(combo->findText(wide, Qt::MatchExactly));
        }
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        edit->setProperty(PositionMap::GIVEN_TEXT, QByteArray(text ? text : ""));
        edit->setPlainText(wide);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(wide);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(wide);
    } else {
        return false;
    }
    return true;
}

bool isDlgButtonChecked(Window* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(control(dialog, id));
    return button && button->isChecked();
}

void checkDlgButton(Window* dialog, int id, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(control(dialog, id));
    if (!button) {
        return;
    }
    // An exclusive group refuses to uncheck its checked button directly.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked) {
        group->setExclusive(false);
    }
    button->setChecked(checked);
    if (exclusive && !checked) {
        group->setExclusive(true);
    }
}

void enableDlgItem(Window* dialog, int id, bool enabled) {
    if (QWidget* widget = control(dialog, id)) {
        widget->setEnabled(enabled);
    }
}

bool isDlgItemEnabled(Window* dialog, int id) {
    QWidget* widget = control(dialog, id);
    return widget && widget->isEnabled();
}

void showDlgItem(Window* dialog, int id, bool shown) {
    if (QWidget* widget = control(dialog, id)) widget->setHidden(!shown);
}

bool isDlgItemShown(Window* dialog, int id) {
    QWidget* widget = control(dialog, id);
    return widget && !widget->isHidden();
}

bool hasDlgItem(Window* dialog, int id) {
    return control(dialog, id) != nullptr;
}

void setDlgItemFocus(Window* dialog, int id) {
    if (QWidget* widget = control(dialog, id)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

int listAddString(Window* dialog, int id, const char* text) {
    QWidget* widget = control(dialog, id);
    const QString wide = widen(text);
    const bool sorted = widget && widget->property("sortedList").toBool();
    const QStringList items = itemsOf(widget);
    const int index = sorted ? sortedInsertIndex(items, wide) : int(items.size());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // Adding to an editable list must not change what its text field shows.
        const QString shown = combo->currentText();
        const int selected = combo->currentIndex();
        combo->insertItem(index, wide);
        // Qt selects the first entry of an empty box; the handheld's boxes select nothing.
        if (selected < 0) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) {
                combo->setEditText(shown);
            }
        }
        return index;
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->insertItem(index, wide);
        return index;
    }
    return -1;
}

void listResetContent(Window* dialog, int id) {
    QWidget* widget = control(dialog, id);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->clear();
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->clear();
    }
}

int listCount(Window* dialog, int id) {
    return int(itemsOf(control(dialog, id)).size());
}

int listCurSel(Window* dialog, int id) {
    QWidget* widget = control(dialog, id);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // An editable box whose text was typed over has no selection.
        if (combo->isEditable() && combo->currentIndex() >= 0 &&
            combo->itemText(combo->currentIndex()) != combo->currentText()) {
            return -1;
        }
        return combo->currentIndex();
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        return list->currentRow();
    }
    return -1;
}

bool listSetCurSel(Window* dialog, int id, int index) {
    QWidget* widget = control(dialog, id);
    const int count = int(itemsOf(widget).size());
    if (index < -1 || index >= count) {
        return false;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(index);
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->setCurrentRow(index);
        return true;
    }
    return false;
}

int listFindStringExact(Window* dialog, int id, const char* text) {
    const QStringList items = itemsOf(control(dialog, id));
    const QString wide = widen(text);
    for (int i = 0; i < items.size(); ++i) {
        if (QString::compare(items[i], wide, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int listSelectString(Window* dialog, int id, const char* prefix) {
    const QStringList items = itemsOf(control(dialog, id));
    const QString wide = widen(prefix);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].startsWith(wide, Qt::CaseInsensitive)) {
            listSetCurSel(dialog, id, i);
            return i;
        }
    }
    return -1;
}

std::string listItemText(Window* dialog, int id, int index) {
    const QStringList items = itemsOf(control(dialog, id));
    return index >= 0 && index < items.size() ? narrow(items[index]) : std::string();
}

void editSetSel(Window* dialog, int id, int start, int end) {
    QWidget* widget = control(dialog, id);
    const PositionMap positions(widget);
    const int from = positions.toWide(std::max(0, start));
    const int to = end < 0 ? int(positions.text().size()) : positions.toWide(end);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        // Selecting does not scroll, as on the handheld: the program scrolls itself.
        QScrollBar* bar = edit->verticalScrollBar();
        const int firstLine = bar->value();
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(std::max(from, to), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        bar->setValue(firstLine);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setSelection(from, std::max(0, to - from));
    }
}

void editGetSel(Window* dialog, int id, int* start, int* end) {
    QWidget* widget = control(dialog, id);
    const PositionMap positions(widget);
    int from = 0;
    int to = 0;
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        from = edit->textCursor().selectionStart();
        to = edit->textCursor().selectionEnd();
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        from = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        to = line->hasSelectedText() ? line->selectionEnd() : from;
    }
    if (start) {
        *start = positions.toNarrow(from);
    }
    if (end) {
        *end = positions.toNarrow(to);
    }
}

int editLineFromChar(Window* dialog, int id, int position) {
    auto* edit = qobject_cast<QPlainTextEdit*>(control(dialog, id));
    if (!edit) {
        return 0;
    }
    const PositionMap positions(edit);
    const int wide = positions.toWide(std::max(0, position));
    return int(positions.text().left(wide).count(QLatin1Char('\n')));
}

int editLineCount(Window* dialog, int id) {
    auto* edit = qobject_cast<QPlainTextEdit*>(control(dialog, id));
    return edit ? edit->document()->blockCount() : 1;
}

void editScrollLines(Window* dialog, int id, int lines) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control(dialog, id))) {
        QScrollBar* bar = edit->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

int editFirstVisibleLine(Window* dialog, int id) {
    auto* edit = qobject_cast<QPlainTextEdit*>(control(dialog, id));
    return edit ? edit->verticalScrollBar()->value() : 0;
}

bool clickDlgItem(Window* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(control(dialog, id));
    if (!button || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

bool chooseDlgListItem(Window* dialog, int id, int index) {
    QWidget* widget = control(dialog, id);
    if (!widget || !widget->isEnabled() || !listSetCurSel(dialog, id, index) || index < 0) {
        return false;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        emit combo->activated(index);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        emit list->itemClicked(list->item(index));
    }
    return true;
}

bool typeDlgItemText(Window* dialog, int id, const char* text) {
    QWidget* widget = control(dialog, id);
    const QString wide = widen(text);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable()) {
        combo->lineEdit()->setText(wide);
        emit combo->lineEdit()->textEdited(wide);
        return true;
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget); line && !line->isReadOnly()) {
        line->setText(wide);
        emit line->textEdited(wide);
        return true;
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget); edit && !edit->isReadOnly()) {
        edit->setFocus();
        edit->setPlainText(wide);
        return true;
    }
    return false;
}

} // namespace platform
