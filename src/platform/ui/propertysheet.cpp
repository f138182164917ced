#include "platform/ui/propertysheet.h"

#include "platform/ui/dialogstate.h"
#include "platform/ui/text.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

namespace platform {
namespace {

QDialogButtonBox* openButtons = nullptr;

intptr_t notify(Window* page, int code) {
    NotifyHeader header{page, 0, code};
    return sendMessage(page, WM_NOTIFY, 0, reinterpret_cast<intptr_t>(&header));
}

} // namespace

int propertySheet(Window* owner, const char* caption, const PropertyPage* pages, int count) {
    std::vector<DialogTemplate> layouts(size_t(std::max(0, count)));
    for (int i = 0; i < count; ++i) {
        if (!pages[i].templateName || !pages[i].proc ||
            !loadDialogTemplate(pages[i].templateName, &layouts[size_t(i)])) {
            return -1;
        }
    }
    // The sheet's size: its largest page with room for the tabs and the row of buttons.
    DialogTemplate footprint;
    for (const DialogTemplate& layout : layouts) {
        footprint.width = std::max(footprint.width, layout.width + 8);
        footprint.height = std::max(footprint.height, layout.height + 48);
    }
    QWidget* ownerTop = owner && owner->top ? owner->top.data() : nullptr;
    const int steps = stepsThatFit(footprint, ownerTop);
    QDialog sheet(ownerTop);
    sheet.setWindowTitle(widen(caption));
    sheet.setFont(dialogFont(steps));
    auto* column = new QVBoxLayout(&sheet);
    column->setSizeConstraint(QLayout::SetFixedSize);
    auto* tabs = new QTabWidget(&sheet);
    tabs->setTabPosition(QTabWidget::South);
    column->addWidget(tabs);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &sheet);
    column->addWidget(buttons);
    std::vector<Window*> windows;
    for (int i = 0; i < count; ++i) {
        Window* page =
            buildDialogWindow(layouts[size_t(i)], pages[i].proc, nullptr, &sheet, steps);
        tabs->addTab(page->surface, widen(layouts[size_t(i)].title));
        windows.push_back(page);
    }
    auto currentPage = [&]() -> Window* {
        const int index = tabs->currentIndex();
        return index >= 0 && index < int(windows.size()) ? windows[size_t(index)] : nullptr;
    };
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, [&] {
        if (Window* page = currentPage()) {
            notify(page, PSN_KILLACTIVE);
        }
        for (Window* page : windows) {
            notify(page, PSN_APPLY);
        }
        sheet.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, [&] {
        for (Window* page : windows) {
            notify(page, PSN_RESET);
        }
        sheet.reject();
    });
    auto askHelp = [&] {
        if (Window* page = currentPage()) {
            notify(page, PSN_HELP);
        }
    };
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, &sheet, askHelp);
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), &sheet);
    QObject::connect(helpKey, &QShortcut::activated, &sheet, askHelp);
    for (size_t i = 0; i < windows.size(); ++i) {
        pushOpenDialog(windows[i]);
        sendMessage(windows[i], WM_INITDIALOG, 0, pages[i].initParam);
    }
    QDialogButtonBox* outerButtons = openButtons;
    openButtons = buttons;
    scaleControls(&sheet, steps);
    const int answer = sheet.exec() == QDialog::Accepted ? 1 : 0;
    openButtons = outerButtons;
    for (Window* page : windows) {
        popOpenDialog(page);
        sendMessage(page, WM_DESTROY, 0, 0);
        page->destroyed = true;
        delete page->dialog;
        page->dialog = nullptr;
    }
    return answer;
}

bool pressPropertySheetButton(bool ok) {
    if (!openButtons) {
        return false;
    }
    QPushButton* button = openButtons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    if (!button) {
        return false;
    }
    button->click();
    return true;
}

} // namespace platform
