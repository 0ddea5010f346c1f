// Writes the generated quote files into a directory, for the start-up and
// memory measurements of the whole program.

#include "bench/QuoteFileGenerator.h"

#include <QDir>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    using namespace quoteshow::bench;
    if (!WriteFile(dir.filePath(QStringLiteral("Largest.TXT")), LargestShownFile())
        || !WriteFile(dir.filePath(QStringLiteral("OneLongLine.TXT")), OneLongLineFile())) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
