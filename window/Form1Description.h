#pragma once
// The quote window's stored description: positions and sizes in twips,
// fonts by family name (fontconfig supplies look-alikes where missing).

#include "window/Twips.h"

namespace quoteshow::Form1Description {

struct FontDescription {
    const char *family;
    double pointSize;
};

// Form1's client area (its left and top are unused: the window is centred).
inline constexpr TwipRect kForm1Twips{60, 450, 11340, 2160};
inline constexpr TwipRect kLabel1Twips{360, 960, 10800, 300};
inline constexpr TwipRect kBtnAckTwips{4680, 1560, 1815, 495};
inline constexpr TwipRect kLabel2Twips{2640, 240, 5895, 615};

// Below the button; covers the bottom margin, the title bar and the frame.
inline constexpr int kBottomAllowanceTwips = 460;
// Between the quote's last line and the button.
inline constexpr int kButtonGapTwips = 1;

inline constexpr FontDescription kForm1Font{"Comic Sans MS", 15.75};
inline constexpr FontDescription kLabel1Font{"MS Sans Serif", 12.0};
inline constexpr FontDescription kBtnAckFont{"Comic Sans MS", 24.0};

// Windows address no size above this; larger is an overflow, not a window.
inline constexpr int kLargestWindowPixels = 32767;

} // namespace quoteshow::Form1Description
