#include "window/Twips.h"

#include <QScreen>

#include <cmath>

namespace quoteshow {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

TwipScale::TwipScale(double logicalDpiX, double logicalDpiY)
    : pixelsPerTwipX_(logicalDpiX / kTwipsPerInch), pixelsPerTwipY_(logicalDpiY / kTwipsPerInch)
{
}

TwipScale TwipScale::ForScreen(const QScreen *screen)
{
    if (!screen)
        return TwipScale(96.0, 96.0);
    return TwipScale(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

int TwipScale::XPixels(double twips) const
{
    return int(std::lround(twips * pixelsPerTwipX_));
}

int TwipScale::YPixels(double twips) const
{
    return int(std::lround(twips * pixelsPerTwipY_));
}

float TwipScale::YTwips(int pixels) const
{
    return float(double(pixels) / pixelsPerTwipY_);
}

QRect TwipScale::Pixels(const TwipRect &rect) const
{
    return QRect(XPixels(rect.leftTwips), YPixels(rect.topTwips), XPixels(rect.widthTwips),
                 YPixels(rect.heightTwips));
}

} // namespace quoteshow
