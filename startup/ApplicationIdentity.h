#pragma once
// How the desktop knows the program: its menu entry, name and icon.

namespace quoteshow {

// Needs the QApplication. Ties the windows to the installed menu entry, so
// that docks and task bars show its name and icon.
void SetApplicationIdentity();

} // namespace quoteshow
