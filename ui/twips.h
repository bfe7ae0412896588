// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <QRect>

// The window's layout is designed in twips (1/1440 inch). At 96 dpi fifteen make one
// device-independent pixel; Qt's high-DPI scaling takes it from there.
namespace twips
{

inline constexpr int PerPixel = 15;

// Compile-time only, so that a value off the pixel grid cannot slip into the layout.
consteval int toPixels(int value)
{
    if (value % PerPixel != 0)
        throw "not a whole number of pixels";
    return value / PerPixel;
}

consteval QRect toPixels(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

} // namespace twips
