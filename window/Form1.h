#pragma once
// The quote window: header, quote on a black band, and the OK button that
// ends the program. Filled and arranged while hidden, then shown.

#include "window/Twips.h"

#include <QMargins>
#include <QWidget>

class QLabel;
class QPushButton;

namespace quoteshow {

class Form1 : public QWidget {
public:
    Form1();

    void SetHeaderText(const QString &quotePath, int chosenQuote);
    void SetWindowTitle();
    void SetQuoteText(const QString &quoteText);
    // Puts the button right under the quote and sizes the window to hold it.
    // Raises an overflow Failure for a window too tall to exist.
    void ArrangeWindow();
    void ShowWindow();

    // The outer height (title bar and frame included) set by ArrangeWindow.
    int OuterHeightPixels() const { return outerHeightPixels_; }

    QLabel *const Label1;
    QLabel *const Label2;
    QPushButton *const btnAck;

protected:
    bool event(QEvent *event) override;

private:
    void btnAck_Click();
    void FitToFrame(const QMargins &frame);

    TwipScale scale_;
    int outerHeightPixels_ = 0;
    QMargins fittedFrame_;
};

} // namespace quoteshow
