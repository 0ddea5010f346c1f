#include "startup/StartupFailureHandler.h"

#include "quotes/ErrorFacility.h"
#include "resources/VersionInfo.h"

#include <QMessageBox>

namespace quoteshow {

QString FailureMessage(const Failure &failure, const QString &quotePath)
{
    if (failure.ErrorCode == ErrorCodes::FileNotFound)
        return QStringLiteral("Error 53: The file ") + quotePath + QStringLiteral(" does not exist.");
    return QStringLiteral("Error ") + QString::number(failure.ErrorCode) + u' ' + failure.ErrorDescription
           + QStringLiteral(" occurred.");
}

void StartupFailureHandler(const Failure &failure, const QString &quotePath)
{
    QMessageBox box(QMessageBox::NoIcon, ReadVersionInfo().ProductName,
                    FailureMessage(failure, quotePath), QMessageBox::Ok);
    // A path such as "<b>x" is shown as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace quoteshow
