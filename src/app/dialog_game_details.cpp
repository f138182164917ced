#include "app/dialog_game_details.h"

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/dialog_modal.h"
#include "platform/ui/dialog.h"
#include "platform/ui/owner.h"

using namespace platform;

namespace {

constexpr int IDD_GAME_DETAILS = 113;

const char PROGRAM_NAME[] = "Tallowmere Chess";
constexpr const char* RESULTS[] = {"1-0", "1/2-1/2", "0-1", "*"};

struct TagField {
    int id;
    const char* tag;
};
// The tags with fields of their own, in the order they are written back.
constexpr TagField TAG_FIELDS[] = {{IDC_WHITE, "White"}, {IDC_BLACK, "Black"},
                                   {IDC_EVENT, "Event"}, {IDC_SITE, "Site"},
                                   {IDC_DATE, "Date"},   {IDC_RESULT, "Result"}};

// The game's other tags while the dialog is open, edited here and written back on closing.
std::vector<CTagPair> extraTags;

// The tags that say where the game starts: shown, never edited, as a changed one would
// no longer fit the moves and the game would not read again.
bool isStartTag(const CText& name) {
    return name == "FEN" || name == "SetUp";
}

CText& extraTagValue(const CText& name) {
    for (CTagPair& pair : extraTags) {
        if (pair.name == name) return pair.value;
    }
    extraTags.push_back(CTagPair{name, CText("")});
    return extraTags.back().value;
}

// The tag-name list is sorted and compares without case; tag names compare exactly.
int tagNameRow(Window* dialog, const CText& name) {
    for (int row = 0; row < listCount(dialog, IDC_TAG_NAME); ++row) {
        if (name == listItemText(dialog, IDC_TAG_NAME, row).c_str()) return row;
    }
    return -1;
}

CText selectedTagName(Window* dialog) {
    const int row = listCurSel(dialog, IDC_TAG_NAME);
    return row < 0 ? CText() : CText(listItemText(dialog, IDC_TAG_NAME, row).c_str());
}

void showSelectedTag(Window* dialog) {
    const CText name = selectedTagName(dialog);
    setDlgItemText(dialog, IDC_TAG_VALUE, name.isEmpty() ? "" : extraTagValue(name).c_str());
    enableDlgItem(dialog, IDC_TAG_VALUE, !isStartTag(name));
}

// The four results, and a game's own other result so that it survives the dialog.
void fillResults(Window* dialog, const CText& result) {
    listResetContent(dialog, IDC_RESULT);
    for (const char* text : RESULTS)
        listAddString(dialog, IDC_RESULT, text);
    // An empty result selects nothing rather than the first entry, which would record a win.
    if (result.isEmpty()) {
        listSetCurSel(dialog, IDC_RESULT, -1);
        return;
    }
    int row = listFindStringExact(dialog, IDC_RESULT, result.c_str());
    if (row < 0) row = listAddString(dialog, IDC_RESULT, result.c_str());
    listSetCurSel(dialog, IDC_RESULT, row);
}

void fillPlayerList(Window* dialog, int id, const CText& player, const CText* ours, int count) {
    listResetContent(dialog, id);
    bool isOurs = false;
    for (int i = 0; i < count; ++i)
        isOurs = isOurs || player == ours[i];
    if (!isOurs && !player.isEmpty()) listAddString(dialog, id, player.c_str());
    for (int i = 0; i < count; ++i) {
        // An unknown owner or engine would only add an empty row.
        if (!ours[i].isEmpty()) listAddString(dialog, id, ours[i].c_str());
    }
    setDlgItemText(dialog, id, player.c_str());
}

void fillFields(Window* dialog) {
    const CGame& game = *appState.game;
    const CText ours[] = {CText(deviceOwnerName().c_str()), CText(PROGRAM_NAME),
                          appState.engineName};
    fillPlayerList(dialog, IDC_WHITE, game.white(), ours, 3);
    fillPlayerList(dialog, IDC_BLACK, game.black(), ours, 3);
    setDlgItemText(dialog, IDC_EVENT, game.event().c_str());
    setDlgItemText(dialog, IDC_SITE, game.site().c_str());
    setDlgItemText(dialog, IDC_DATE, game.date().c_str());

    std::vector<CText> known;
    for (const TagField& field : TAG_FIELDS)
        known.emplace_back(field.tag);
    extraTags.clear();
    listResetContent(dialog, IDC_TAG_NAME);
    for (const CText& name : game.otherTagNames(known)) {
        extraTags.push_back(CTagPair{name, game.tag(name.c_str())});
        listAddString(dialog, IDC_TAG_NAME, name.c_str());
    }
    if (!extraTags.empty())
        listSetCurSel(dialog, IDC_TAG_NAME, tagNameRow(dialog, extraTags[0].name));
    showSelectedTag(dialog);
    fillResults(dialog, game.result());
}

void writeBack(Window* dialog) {
    if (!appState.game) return;
    CGame& game = *appState.game;
    for (const TagField& field : TAG_FIELDS)
        game.setTag(field.tag, CText(getDlgItemText(dialog, field.id).c_str()));
    for (const CTagPair& pair : extraTags) {
        if (!isStartTag(pair.name)) game.setTag(pair.name.c_str(), pair.value);
    }
}

intptr_t onCommand(Window* dialog, int id, unsigned notification) {
    switch (id) {
    case IDOK:
        writeBack(dialog);
        endDialog(dialog, id);
        return 1;
    case IDCANCEL:
        endDialog(dialog, id);
        return 1;
    case IDC_UNDO:
        fillFields(dialog);
        return 1;
    case IDC_TAG_NAME:
        if (notification != CBN_SELCHANGE) return 0;
        showSelectedTag(dialog);
        return 1;
    case IDC_TAG_VALUE:
        if (notification != EN_CHANGE || listCurSel(dialog, IDC_TAG_NAME) < 0 ||
            isStartTag(selectedTagName(dialog)))
            return 0;
        extraTagValue(selectedTagName(dialog)) = getDlgItemText(dialog, IDC_TAG_VALUE).c_str();
        return 1;
    default:
        return 0;
    }
}

intptr_t gameDetailsProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_INITDIALOG:
        appState.completeTags(false);
        fillFields(dialog);
        return 1;
    case WM_COMMAND:
        return onCommand(dialog, loWord(wParam), hiWord(wParam));
    case WM_HELP:
        showHelpAt("GameDetails");
        return 1;
    default:
        return 0;
    }
}

} // namespace

bool gameDetailsDialog(Window* owner) {
    if (!appState.game) return false;
    const ModalScope modal;
    // Opening completes the tags; a Cancel takes that back with the rest.
    const std::vector<CTagPair> before = appState.game->tags();
    const intptr_t answer = dialogBox(IDD_GAME_DETAILS, owner, gameDetailsProc);
    extraTags.clear();
    if (answer == IDOK) return true;
    if (appState.game) appState.game->restoreTags(before);
    return false;
}
