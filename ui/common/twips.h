#pragma once

#include <QRect>

namespace quorvane {

// The window is designed in twips: 1440 to the inch, 15 to the pixel at 96 dpi.
// Qt's device-independent pixels are 96 dpi pixels, so this is all the
// conversion a high-DPI screen needs.
constexpr int TwipsToPixels(int twips)
{
    return (twips * 2 + 15) / 30; // to the nearest pixel, halves up
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

} // namespace quorvane
