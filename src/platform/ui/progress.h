#pragma once
// Progress bars: how far work in the background has come, in thousandths, for a
// "progress" control of a dialog template.

namespace platform {

struct Window;

// perMille runs from 0 (nothing done) to 1000 (all of it); values beyond are held to it.
void setDlgItemProgress(Window* dialog, int id, int perMille);
// What the bar shows; -1 when the dialog has no progress bar of that id.
int dlgItemProgress(Window* dialog, int id);

} // namespace platform
