// Dialogs from templates, driven as a user would by a timer that acts on the open
// dialog; the property sheet; templates that do not read.
#include "platform/ui/application.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialogstate.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/listview.h"
#include "platform/ui/progress.h"
#include "platform/ui/propertysheet.h"

#include "../support/when_dialog_opens.h"

#include <QApplication>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> journal;

intptr_t optionsPage(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG:
        journal.push_back("init " + std::to_string(lParam));
        for (const char* name : {"Fast", "Medium", "Slow", "Off"}) {
            listAddString(dialog, 422, name);
        }
        listSetCurSel(dialog, 422, 1);
        checkDlgButton(dialog, 427, true);
        return 1;
    case WM_COMMAND:
        journal.push_back("command " + std::to_string(loWord(wParam)) + "/" +
                          std::to_string(hiWord(wParam)));
        if (loWord(wParam) == 427) {
            // A check box the page toggles itself.
            checkDlgButton(dialog, 427, !isDlgButtonChecked(dialog, 427));
        }
        return 1;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
        journal.push_back("notify " + std::to_string(header->code));
        if (header->code == PSN_KILLACTIVE) {
            journal.push_back("animation " + getDlgItemText(dialog, 422));
            journal.push_back(std::string("sound ") +
                              (isDlgButtonChecked(dialog, 427) ? "on" : "off"));
        }
        return 1;
    }
    default:
        return 0;
    }
}

intptr_t promotionProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG:
        journal.push_back("init");
        return 0;
    case WM_PAINT: {
        PaintInfo paint{};
        Dc* dc = beginPaint(dialog, &paint);
        const Rect client = getClientRect(dialog);
        const int left = (client.width() - 120) / 2;
        fillRect(dc, Rect{left, 40, left + 120, 70}, rgb(0, 128, 0));
        endPaint(dialog, &paint);
        journal.push_back("paint");
        return 0;
    }
    case WM_LBUTTONUP: {
        const Rect client = getClientRect(dialog);
        const int left = (client.width() - 120) / 2;
        const int x = pointX(lParam);
        const int y = pointY(lParam);
        if (x >= left && x <= left + 120 && y >= 40 && y <= 70) {
            endDialog(dialog, 100 + (x - left) / 30);
            return 1;
        }
        return 0;
    }
    case WM_COMMAND:
        if (loWord(wParam) == IDOK || loWord(wParam) == IDCANCEL) {
            endDialog(dialog, 5);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace

TEST(DialogTemplate, ReadsStatementsAndNamesTheBadLine) {
    DialogTemplate layout;
    std::string error;
    ASSERT_TRUE(parseDialogTemplate("# about\ndialog \"About \"\"it\"\"\" 130 104\n"
                                    "static -1 \"Tallowmere Chess\" 3 5 125 19 center\n"
                                    "radio 1025 \"White to move\" 1 2 3 4 group\n",
                                    &layout, &error));
    EXPECT_EQ(layout.title, "About \"it\"");
    EXPECT_EQ(layout.width, 130);
    ASSERT_EQ(layout.controls.size(), 2u);
    EXPECT_EQ(layout.controls[0].id, -1);
    EXPECT_EQ(layout.controls[0].styles, unsigned(STYLE_CENTER));
    EXPECT_EQ(layout.controls[1].kind, ControlKind::radio);

    struct Bad {
        const char* text;
        const char* error;
    };
    const Bad cases[] = {
        {"", "line 0: no dialog statement"},
        {"dialog \"A\" 10\n", "line 1: expected: dialog \"Title\" WIDTH HEIGHT"},
        {"dialog \"A\" 10 10\nbutton 1 \"OK\" 1 2 3\n",
         "line 2: expected: KIND ID \"Text\" X Y WIDTH HEIGHT [STYLE...]"},
        {"dialog \"A\" 10 10\nbutton 1 \"OK 1 2 3 4\n", "line 2: unterminated text"},
        {"dialog \"A\" 10 10\nslider 1 \"\" 1 2 3 4\n", "line 2: unknown statement \"slider\""},
        {"dialog \"A\" 10 10\nbutton 1 \"OK\" 1 2 3 4 bold\n", "line 2: unknown style \"bold\""},
        {"dialog \"A\" 10 10\nbutton 1 \"OK\" 1 2 99999999999 4\n",
         "line 2: expected: KIND ID \"Text\" X Y WIDTH HEIGHT [STYLE...]"},
        {"dialog \"A\" -5 10\n", "line 1: expected: dialog \"Title\" WIDTH HEIGHT"},
        {"dialog \"A\" 10 10\npaint 1\n", "line 2: expected: paint WIDTH HEIGHT"},
    };
    for (const Bad& bad : cases) {
        EXPECT_FALSE(parseDialogTemplate(bad.text, &layout, &error)) << bad.text;
        EXPECT_EQ(error, bad.error) << bad.text;
    }
}

TEST(Dialog, EveryProgramTemplateReads) {
    for (const char* name : {"126", "aboutbox", "412", "112", "113", "121", "119", "gamelist"}) {
        bool initialised = false;
        whenDialogOpens([&](Window* dialog) {
            initialised = !dialogTitle(dialog).empty();
            endDialog(dialog, 9);
        });
        const intptr_t result = dialogBox(
            name, nullptr, [](Window*, unsigned, uintptr_t, intptr_t) -> intptr_t { return 0; });
        EXPECT_EQ(result, 9) << name;
        EXPECT_TRUE(initialised) << name;
    }
    EXPECT_EQ(dialogBox("nonexistent", nullptr, promotionProc), -1);
    EXPECT_EQ(dialogBox("../dialogs/126", nullptr, promotionProc), -1);
}

TEST(Dialog, PaintsAndTakesTapsAtLogicalPixels) {
    for (int scale : {1, 2}) {
        setWindowScale(scale);
        journal.clear();
        whenDialogOpens([scale](Window* dialog) {
            processMessages(10);
            const Rect client = getClientRect(dialog);
            const int left = (client.width() - 120) / 2;
            journal.push_back(windowPixel(dialog, left + 65, 55) == rgb(0, 128, 0) ? "green"
                                                                                   : "not green");
            // The third image: a tap in its cell.
            QWidget* modal = QApplication::activeModalWidget();
            QWidget* surface = modal ? modal->childAt((left + 65) * scale, 55 * scale) : nullptr;
            if (surface) {
                sendMessage(dialog, WM_LBUTTONUP, 0, makePointLParam(left + 65, 55));
            } else {
                endDialog(dialog, -7);
            }
        });
        EXPECT_EQ(dialogBox(126, nullptr, promotionProc), 102) << "scale " << scale;
        EXPECT_EQ(journal, (std::vector<std::string>{"init", "paint", "green"}));
    }
    setWindowScale(1);

    // Closing the dialog sends IDCANCEL; the procedure decides.
    whenDialogOpens([](Window*) { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(dialogBox(126, nullptr, promotionProc), 5);
}

TEST(Dialog, PropertySheetInitialisesNotifiesAndReadsBack) {
    journal.clear();
    whenDialogOpens([](Window* page) {
        // A tap on the check box reports without toggling; the page toggles it.
        clickDlgItem(page, 427);
        chooseDlgListItem(page, 422, 2);
        pressPropertySheetButton(true);
    });
    const PropertyPage pages[] = {{"412", optionsPage, 77}};
    EXPECT_EQ(propertySheet(nullptr, "Tallowmere Chess", pages, 1), 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"init 77", "command 427/0", "command 422/1",
                                                 "notify " + std::to_string(PSN_KILLACTIVE),
                                                 "animation Slow", "sound off",
                                                 "notify " + std::to_string(PSN_APPLY)}));

    journal.clear();
    whenDialogOpens([](Window*) { pressPropertySheetButton(false); });
    EXPECT_EQ(propertySheet(nullptr, "Tallowmere Chess", pages, 1), 0);
    EXPECT_EQ(journal.back(), "notify " + std::to_string(PSN_RESET));
    const PropertyPage missing[] = {{"411", optionsPage, 0}};
    EXPECT_EQ(propertySheet(nullptr, "Tallowmere Chess", missing, 1), -1);
}

TEST(Dialog, ControlOperationsOnTheGameDetailsTemplate) {
    std::vector<std::string> seen;
    whenDialogOpens([&seen](Window* dialog) {
        for (const char* result : {"1-0", "1/2-1/2", "0-1", "*"}) {
            listAddString(dialog, 364, result);
        }
        seen.push_back(std::to_string(listCurSel(dialog, 364)));
        seen.push_back(std::to_string(listSelectString(dialog, 364, "0-")));
        seen.push_back(getDlgItemText(dialog, 364));
        seen.push_back(std::to_string(listFindStringExact(dialog, 364, "*")));
        seen.push_back(std::to_string(listFindStringExact(dialog, 364, "2-0")));
        // The tag-name list is sorted.
        for (const char* name : {"Round", "ECO", "PlyCount"}) {
            listAddString(dialog, 260, name);
        }
        seen.push_back(listItemText(dialog, 260, 0) + "," + listItemText(dialog, 260, 2));
        seen.push_back(listItemText(dialog, 260, 7).empty() ? "none" : "some");
        // Text crosses the boundary: 8-bit Windows-1252 in, UTF-8 out.
        setDlgItemText(dialog, 254, "Caf\xe9 Open");
        seen.push_back(getDlgItemText(dialog, 254));
        setDlgItemText(dialog, 350, "Ann");
        listAddString(dialog, 350, "Bob");
        seen.push_back(getDlgItemText(dialog, 350));
        enableDlgItem(dialog, 264, false);
        seen.push_back(clickDlgItem(dialog, 264) ? "clicked" : "refused");
        seen.push_back(hasDlgItem(dialog, 9999) ? "9999" : "no 9999");
        seen.push_back(getDlgItemText(dialog, 9999).empty() ? "empty" : "text");
        listResetContent(dialog, 364);
        seen.push_back(std::to_string(listCount(dialog, 364)));
        endDialog(dialog, 1);
    });
    EXPECT_EQ(dialogBox(113, nullptr,
                        [](Window*, unsigned, uintptr_t, intptr_t) -> intptr_t { return 0; }),
              1);
    EXPECT_EQ(seen, (std::vector<std::string>{"-1", "2", "0-1", "3", "-1", "ECO,Round", "none",
                                              "Caf\xc3\xa9 Open", "Ann", "refused", "no 9999",
                                              "empty", "0"}));
}

TEST(Dialog, MultilineEditSelectionAndLines) {
    std::vector<int> seen;
    whenDialogOpens([&seen](Window* dialog) {
        setDlgItemText(dialog, 370, "1. e4 e5\n2. Nf3 Nc6\n3. Bb5 a6");
        editSetSel(dialog, 370, 12, 15);
        int start = 0, end = 0;
        editGetSel(dialog, 370, &start, &end);
        seen = {start, end, editLineFromChar(dialog, 370, start), editLineCount(dialog, 370)};
        endDialog(dialog, 1);
    });
    dialogBox(112, nullptr, [](Window*, unsigned, uintptr_t, intptr_t) -> intptr_t { return 0; });
    EXPECT_EQ(seen, (std::vector<int>{12, 15, 1, 3}));
}

TEST(Dialog, MultilineEditPositionsCountTheGivenText) {
    // Positions count the 8-bit text as given: a line break is two characters, a
    // Windows-1252 letter one, a UTF-8 letter its bytes; selecting does not scroll.
    struct Case {
        const char* text;
        int start, end; // "Nf3" in the text
        int line;
    };
    const Case cases[] = {
        {"1. e4 e5\r\n2. Nf3 Nc6\r\n3. Bb5 a6", 13, 16, 1},
        {"{M\xfcller}\r\n1. e4 e5\r\n2. Nf3", 23, 26, 2},
        {"{M\xc3\xbcller}\r\n1. e4 e5\r\n2. Nf3", 24, 27, 2},
        {"1. e4\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
         "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n2. Nf3",
         68, 71, 30},
    };
    for (const Case& c : cases) {
        std::vector<int> seen;
        whenDialogOpens([&seen, &c](Window* dialog) {
            setDlgItemText(dialog, 370, c.text);
            editSetSel(dialog, 370, c.start, c.end);
            int start = 0, end = 0;
            editGetSel(dialog, 370, &start, &end);
            seen = {start, end, editLineFromChar(dialog, 370, start),
                    editFirstVisibleLine(dialog, 370)};
            endDialog(dialog, 1);
        });
        dialogBox(112, nullptr,
                  [](Window*, unsigned, uintptr_t, intptr_t) -> intptr_t { return 0; });
        EXPECT_EQ(seen, (std::vector<int>{c.start, c.end, c.line, 0})) << c.text;
    }
}

TEST(Dialog, ProgressBarsHiddenControlsAndRowsAddedToAListView) {
    std::vector<std::string> seen;
    whenDialogOpens([&seen](Window* dialog) {
        for (const int perMille : {250, 5000, -3}) {
            setDlgItemProgress(dialog, 511, perMille);
            seen.push_back(std::to_string(dlgItemProgress(dialog, 511)));
        }
        seen.push_back(std::to_string(dlgItemProgress(dialog, 509))); // a static text
        showDlgItem(dialog, 511, false);
        seen.push_back(isDlgItemShown(dialog, 511) ? "shown" : "hidden");
        showDlgItem(dialog, 511, true);
        seen.push_back(isDlgItemShown(dialog, 511) ? "shown" : "hidden");
        seen.push_back(isDlgItemShown(dialog, 9999) ? "9999" : "no 9999");

        auto* table = controlAs<QTableView>(dialog, 510);
        listViewSetColumns(dialog, 510, {"Row", "Twice", "A much longer heading than its share"},
                           {1, 3, 0});
        const int room = table->viewport()->width();
        const int row = table->columnWidth(0), twice = table->columnWidth(1);
        // Three times the share, the same room as the shares say (give or take the scroll
        // bar kept free), and a heading never cut.
        seen.push_back(std::abs(twice - 3 * row) <= 3 ? "shared" : "not shared");
        seen.push_back(row + twice <= room && row + twice > room / 2 ? "fits" : "does not fit");
        seen.push_back(table->columnWidth(2) >=
                               table->fontMetrics().horizontalAdvance(
                                   "A much longer heading than its share")
                           ? "heading whole"
                           : "heading cut");
        listViewSetColumns(dialog, 510, {"Row", "Twice"});
        listViewSetRows(dialog, 510, 3, [](int row, int column) {
            return std::to_string(column == 0 ? row : 2 * row);
        });
        listViewSetCurSel(dialog, 510, 1);
        listViewAddRows(dialog, 510, 2);
        seen.push_back(std::to_string(listViewRowCount(dialog, 510)) + " rows, row " +
                       std::to_string(listViewCurSel(dialog, 510)) + " selected, last " +
                       listViewCellText(dialog, 510, 4, 1));
        endDialog(dialog, 1);
    });
    dialogBox("gamelist", nullptr,
              [](Window*, unsigned, uintptr_t, intptr_t) -> intptr_t { return 0; });
    EXPECT_EQ(seen, (std::vector<std::string>{"250", "1000", "0", "-1", "hidden", "shown",
                                              "no 9999", "shared", "fits", "heading whole",
                                              "5 rows, row 1 selected, last 8"}));
}
