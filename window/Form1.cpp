#include "window/Form1.h"

#include "quotes/ErrorFacility.h"
#include "resources/VersionInfo.h"
#include "window/Form1Description.h"
#include "window/WindowTexts.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace quoteshow {

namespace {

QFont FontFor(const Form1Description::FontDescription &description)
{
    QFont font(QString::fromLatin1(description.family));
    font.setPointSizeF(description.pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

using namespace Form1Description;

Form1::Form1()
    : Label1(new QLabel(this)),
      Label2(new QLabel(this)),
      btnAck(new QPushButton(this)),
      scale_(TwipScale::ForScreen(QGuiApplication::primaryScreen()))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFont(FontFor(kForm1Font));
    const QRect client = scale_.Pixels(kForm1Twips);
    resize(client.size());

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(QStringLiteral("Label1"));
    Label1->setFont(FontFor(kLabel1Font));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setAutoFillBackground(true);
    QPalette quotePalette = Label1->palette();
    quotePalette.setColor(QPalette::Window, QColor(0, 0, 0));
    quotePalette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    Label1->setPalette(quotePalette);
    Label1->setGeometry(scale_.Pixels(kLabel1Twips));

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setGeometry(scale_.Pixels(kLabel2Twips));

    btnAck->setObjectName(QStringLiteral("btnAck"));
    btnAck->setText(QStringLiteral("OK"));
    btnAck->setFont(FontFor(kBtnAckFont));
    btnAck->setGeometry(scale_.Pixels(kBtnAckTwips));
    // Enter presses the button as Space does.
    btnAck->setAutoDefault(true);
    btnAck->setDefault(true);
    btnAck->setFocus(Qt::OtherFocusReason);
    connect(btnAck, &QPushButton::clicked, this, [this] { btnAck_Click(); });
}

void Form1::SetHeaderText(const QString &quotePath, int chosenQuote)
{
    Label2->setText(HeaderText(quotePath, chosenQuote));
}

void Form1::SetWindowTitle()
{
    setWindowTitle(WindowTitle(ReadVersionInfo()));
}

void Form1::SetQuoteText(const QString &quoteText)
{
    Label1->setText(QuoteDisplayText(quoteText));
    // Auto-size: the width stays, the height follows the wrapped text. An
    // empty quote keeps one line's height so the band stays visible.
    const int lineHeight = Label1->fontMetrics().height();
    Label1->resize(Label1->width(), std::max(Label1->heightForWidth(Label1->width()), lineHeight));
}

void Form1::ArrangeWindow()
{
    const float labelHeightTwips = scale_.YTwips(Label1->height());
    const float buttonTopTwips = float(kLabel1Twips.topTwips) + labelHeightTwips + float(kButtonGapTwips);
    const float outerHeightTwips =
        buttonTopTwips + float(kBtnAckTwips.heightTwips) + float(kBottomAllowanceTwips);
    if (!std::isfinite(outerHeightTwips) || outerHeightTwips > scale_.YTwips(kLargestWindowPixels))
        RaiseFailure(ErrorCodes::Overflow);

    btnAck->move(btnAck->x(), scale_.YPixels(buttonTopTwips));
    outerHeightPixels_ = scale_.YPixels(outerHeightTwips);
    FitToFrame(fittedFrame_);
}

void Form1::ShowWindow()
{
    show();
}

bool Form1::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // The frame is known only once a window manager has framed the window;
    // the outer height and the centring are then fitted to it once.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        // Not after the user has maximised the window: it is theirs then.
        if (outerHeightPixels_ > 0 && windowHandle() && windowHandle()->frameMargins() != fittedFrame_
            && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            FitToFrame(windowHandle()->frameMargins());
        break;
    default:
        break;
    }
    return handled;
}

void Form1::FitToFrame(const QMargins &frame)
{
    fittedFrame_ = frame;
    const int clientHeight = std::max(1, outerHeightPixels_ - frame.top() - frame.bottom());
    resize(width(), clientHeight);
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize outer(width() + frame.left() + frame.right(), outerHeightPixels_);
    const QRect area = screen->geometry();
    // move() places the frame's top-left corner.
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void Form1::btnAck_Click()
{
    QCoreApplication::exit(0);
}

} // namespace quoteshow
