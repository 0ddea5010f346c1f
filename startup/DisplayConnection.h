#pragma once
// Connecting to the windowing system. Without one, Qt would abort with a core
// dump; the program instead says why on stderr and exits with status 1.

#include <QApplication>

#include <memory>

namespace quoteshow {

// Gives Qt only the program's name, so that no argument is taken as a Qt
// option. Does not return when no display can be opened.
std::unique_ptr<QApplication> OpenDisplay(char *programName);

} // namespace quoteshow
