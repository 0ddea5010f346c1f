#pragma once
// The texts the quote window shows, built from plain values.

#include "resources/VersionInfo.h"

#include <QString>

namespace quoteshow {

// "File: " + path + "  Quote #" + " " + number (the blank stands where a
// negative number's sign would).
QString HeaderText(const QString &quotePath, int chosenQuote);

// Product name + "- " + description + ", Vers 2.0.4 by " + company name.
QString WindowTitle(const VersionInfo &versionInfo);

// The quote as the label shows it: every carriage return ends a line, so the
// one closing the last line adds no empty line below it.
QString QuoteDisplayText(const QString &quoteText);

} // namespace quoteshow
