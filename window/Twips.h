#pragma once
// Twips (1/1440 inch) are the unit of the window's stored description; this is
// the one place they become pixels, from the screen's logical DPI.

#include <QRect>

class QScreen;

namespace quoteshow {

struct TwipRect {
    int leftTwips;
    int topTwips;
    int widthTwips;
    int heightTwips;
};

class TwipScale {
public:
    TwipScale(double logicalDpiX, double logicalDpiY);
    static TwipScale ForScreen(const QScreen *screen);

    int XPixels(double twips) const;
    int YPixels(double twips) const;
    float YTwips(int pixels) const;
    QRect Pixels(const TwipRect &rect) const;

private:
    double pixelsPerTwipX_;
    double pixelsPerTwipY_;
};

} // namespace quoteshow
