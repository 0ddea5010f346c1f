#pragma once
// The program's icon, carried inside the executable: one picture in three
// images, as a window icon traditionally is.

#include <QIcon>

namespace quoteshow {

// Resource paths of the three images.
inline constexpr char kIcon32TwoColours[] = ":/quoteshow/icon/quoteshow-32x32-2.png";
inline constexpr char kIcon32SixteenColours[] = ":/quoteshow/icon/quoteshow-32x32-16.png";
inline constexpr char kIcon16SixteenColours[] = ":/quoteshow/icon/quoteshow-16x16-16.png";

// The icon for a screen of `screenDepthBits` bits per pixel: a screen that
// cannot show 16 colours gets the black-and-white image, which stays legible
// there, instead of a dithered 16-colour one. Needs a QGuiApplication.
QIcon ProgramIcon(int screenDepthBits);

} // namespace quoteshow
