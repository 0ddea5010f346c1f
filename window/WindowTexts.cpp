#include "window/WindowTexts.h"

namespace quoteshow {

QString HeaderText(const QString &quotePath, int chosenQuote)
{
    const QString number = chosenQuote < 0 ? QString::number(chosenQuote)
                                           : u' ' + QString::number(chosenQuote);
    return QStringLiteral("File: ") + quotePath + QStringLiteral("  Quote #") + number;
}

QString WindowTitle(const VersionInfo &versionInfo)
{
    return versionInfo.ProductName + QStringLiteral("- ") + versionInfo.FileDescription + QStringLiteral(", Vers ")
           + QString::number(versionInfo.Major) + u'.' + QString::number(versionInfo.Minor) + u'.'
           + QString::number(versionInfo.Revision) + QStringLiteral(" by ") + versionInfo.CompanyName;
}

QString QuoteDisplayText(const QString &quoteText)
{
    QString text = quoteText;
    if (text.endsWith(u'\r'))
        text.chop(1);
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace quoteshow
