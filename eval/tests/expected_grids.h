// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

// The win chances written out a second time, as grids (row Card 1, column Card 2, both in the
// order A, K, Q, ... 2), so that a slip in the program's rule lists and a slip here cannot hide
// each other. Pocket pairs sit on the diagonal of both grids.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace expected
{

inline constexpr std::array<std::string_view, 13> Ranks
    = {"A", "K", "Q", "J", "10", "9", "8", "7", "6", "5", "4", "3", "2"};

using Grid = std::array<std::array<int, 13>, 13>;

// clang-format off
inline constexpr Grid Suited = {{
//    A   K   Q   J  10   9   8   7   6   5   4   3   2
    {85, 67, 66, 65, 64, 63, 62, 61, 60, 60, 59, 58, 57}, // A
    {67, 82, 63, 62, 61, 60, 58, 57, 56, 55, 54, 54, 53}, // K
    {66, 63, 79, 60, 59, 57, 56, 54, 53, 52, 51, 51, 50}, // Q
    {65, 62, 60, 77, 57, 55, 54, 52, 50, 50, 49, 48, 47}, // J
    {64, 61, 59, 57, 75, 54, 52, 50, 49, 47, 46, 45, 44}, // 10
    {63, 60, 57, 55, 54, 72, 50, 49, 47, 45, 43, 43, 42}, // 9
    {62, 58, 56, 54, 52, 50, 69, 48, 46, 44, 42, 40, 40}, // 8
    {61, 57, 54, 52, 50, 49, 48, 66, 45, 43, 41, 40, 38}, // 7
    {60, 56, 53, 50, 49, 47, 46, 45, 63, 43, 41, 39, 37}, // 6
    {60, 55, 52, 50, 47, 45, 44, 43, 43, 60, 41, 39, 37}, // 5
    {59, 54, 51, 49, 46, 43, 42, 41, 41, 41, 57, 38, 36}, // 4
    {58, 54, 51, 48, 45, 43, 40, 40, 39, 39, 38, 53, 35}, // 3
    {57, 53, 50, 47, 44, 42, 40, 38, 37, 37, 36, 35, 50}, // 2
}};

inline constexpr Grid Offsuit = {{
//    A   K   Q   J  10   9   8   7   6   5   4   3   2
    {85, 65, 64, 63, 62, 60, 59, 58, 57, 57, 56, 55, 54}, // A
    {65, 82, 61, 60, 59, 57, 56, 55, 54, 53, 52, 51, 50}, // K
    {64, 61, 79, 58, 57, 55, 53, 51, 51, 50, 49, 48, 47}, // Q
    {63, 60, 58, 77, 55, 53, 51, 49, 47, 47, 46, 45, 44}, // J
    {62, 59, 57, 55, 75, 51, 49, 47, 46, 44, 43, 42, 41}, // 10
    {60, 57, 55, 53, 51, 72, 48, 46, 44, 42, 40, 40, 39}, // 9
    {59, 56, 53, 51, 49, 48, 69, 45, 43, 41, 39, 37, 36}, // 8
    {58, 55, 51, 49, 47, 46, 45, 66, 42, 40, 38, 36, 34}, // 7
    {57, 54, 51, 47, 46, 44, 43, 42, 63, 39, 38, 36, 34}, // 6
    {57, 53, 50, 47, 44, 42, 41, 40, 39, 60, 38, 36, 34}, // 5
    {56, 52, 49, 46, 43, 40, 39, 38, 38, 38, 57, 35, 33}, // 4
    {55, 51, 48, 45, 42, 40, 37, 36, 36, 36, 35, 53, 32}, // 3
    {54, 50, 47, 44, 41, 39, 36, 34, 34, 34, 33, 32, 50}, // 2
}};
// clang-format on

inline std::optional<int> rankIndex(std::string_view text)
{
    for (int i = 0; i < 13; ++i)
        if (Ranks[i] == text)
            return i;
    return std::nullopt;
}

// What the result box must hold after one evaluation of these texts and this suited state.
inline std::string resultAfterEvaluation(std::string_view card1, std::string_view card2, int suited)
{
    const auto row = rankIndex(card1);
    const auto column = rankIndex(card2);
    if (!row || !column)
        return {};
    const auto text = [](int percent) { return std::to_string(percent) + "%"; };
    if (*row == *column || suited == 1)
        return text(Suited[*row][*column]);
    if (suited == 0)
        return text(Offsuit[*row][*column]);
    return {};
}

} // namespace expected
