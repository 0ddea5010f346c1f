#include "startup/ArgumentText.h"

#include <QFile>

namespace quoteshow {

QString ArgumentText(int argc, const char *const *argv)
{
    QString text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += u' ';
        text += QFile::decodeName(argv[i]);
    }
    return text;
}

} // namespace quoteshow
