#pragma once
// A property sheet: pages from dialog templates as tabs at the bottom, with OK and Cancel.
//
// OK sends the current page WM_NOTIFY PSN_KILLACTIVE and then every page PSN_APPLY;
// Cancel sends PSN_RESET; the help key sends the current page PSN_HELP.

#include "platform/ui/dialog.h"

namespace platform {

struct PropertyPage {
    const char* templateName;
    DialogProc proc;
    intptr_t initParam;
};

// 1 when closed with OK, 0 with Cancel, -1 when a page's template is missing.
int propertySheet(Window* owner, const char* caption, const PropertyPage* pages, int count);
// Closes the open sheet as its OK or Cancel button would (scripted use).
bool pressPropertySheetButton(bool ok);

} // namespace platform
