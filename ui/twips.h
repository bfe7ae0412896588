// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <QPaintDevice>
#include <QRect>

// The window's layout is designed in twips (1/1440 inch), fifteen to a pixel at 96 dpi. They are
// turned into pixels at the window's logical DPI, as its fonts in points are, so that a caption
// keeps its room when the desktop's font DPI is not 96; Qt's high-DPI scaling takes it from there.
namespace twips
{

inline constexpr int PerInch = 1440;

// A design value, checked at compile time to lie on the pixel grid at 96 dpi.
struct Length {
    consteval Length(int twips)
        : value(twips)
    {
        if (twips % (PerInch / 96) != 0)
            throw "not a whole number of pixels at 96 dpi";
    }
    int value;
};

class Scale
{
public:
    explicit Scale(const QPaintDevice &device)
        : m_dpiX(device.logicalDpiX())
        , m_dpiY(device.logicalDpiY())
    {
    }

    QSize size(Length width, Length height) const
    {
        return {pixels(width, m_dpiX), pixels(height, m_dpiY)};
    }

    QRect rect(Length left, Length top, Length width, Length height) const
    {
        return {pixels(left, m_dpiX), pixels(top, m_dpiY), pixels(width, m_dpiX),
            pixels(height, m_dpiY)};
    }

private:
    // To the nearest pixel, halves up; at 96 dpi every value is a whole number of pixels.
    static int pixels(Length length, int dpi)
    {
        return (2 * length.value * dpi + PerInch) / (2 * PerInch);
    }

    int m_dpiX, m_dpiY;
};

} // namespace twips
