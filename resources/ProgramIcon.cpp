#include "resources/ProgramIcon.h"

#include <QString>

namespace quoteshow {

QIcon ProgramIcon(int screenDepthBits)
{
    QIcon icon;
    if (screenDepthBits < 4) {
        icon.addFile(QString::fromLatin1(kIcon32TwoColours), QSize(32, 32));
    } else {
        icon.addFile(QString::fromLatin1(kIcon32SixteenColours), QSize(32, 32));
        icon.addFile(QString::fromLatin1(kIcon16SixteenColours), QSize(16, 16));
    }
    return icon;
}

} // namespace quoteshow
