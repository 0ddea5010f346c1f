#include "startup/COMMON.h"

#include "quotes/AssembleQuote.h"
#include "quotes/ChooseQuote.h"
#include "quotes/LineTable.h"
#include "startup/StartupFailureHandler.h"

#include <QApplication>

namespace quoteshow::COMMON {

std::unique_ptr<Form1> Main(const QString &argumentText)
{
    QString quotePath;
    std::unique_ptr<Form1> form;
    try {
        quotePath = argumentText.isEmpty() ? QString::fromUtf16(kDefaultQuotePath) : argumentText;
        const LineTable lineTable = LoadLineTable(quotePath);
        const int chosenQuote = ChooseQuote(lineTable.SeparatorCount);
        // First use of the window: it comes into being here, hidden.
        form = std::make_unique<Form1>();
        form->SetHeaderText(quotePath, chosenQuote);
        const QString quoteText = AssembleQuote(lineTable, chosenQuote);
        form->SetWindowTitle();
        form->SetQuoteText(quoteText);
        form->ArrangeWindow();
        form->ShowWindow();
        return form;
    } catch (const Failure &failure) {
        // The hidden window must not outlive a failed start-up.
        form.reset();
        StartupFailureHandler(failure, quotePath);
        return nullptr;
    }
}

int Run(const QString &argumentText)
{
    const std::unique_ptr<Form1> form = Main(argumentText);
    if (!form)
        return 1;
    return QApplication::exec();
}

} // namespace quoteshow::COMMON
