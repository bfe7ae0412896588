// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

// The win chances written out a second time, apart from the program's rule lists, so that a slip
// in one and a slip here cannot hide each other. One grid, row Card 1 and column Card 2 in the
// order A, K, Q, ... 2: suited hands above the diagonal, offsuit ones below, pocket pairs on it.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace expected
{

inline constexpr std::array<std::string_view, 13> Ranks
    = {"A", "K", "Q", "J", "10", "9", "8", "7", "6", "5", "4", "3", "2"};

// clang-format off
//                                     A   K   Q   J  10   9   8   7   6   5   4   3   2
inline constexpr int Grid[13][13] = {{85, 67, 66, 65, 64, 63, 62, 61, 60, 60, 59, 58, 57}, // A
                                     {65, 82, 63, 62, 61, 60, 58, 57, 56, 55, 54, 54, 53}, // K
                                     {64, 61, 79, 60, 59, 57, 56, 54, 53, 52, 51, 51, 50}, // Q
                                     {63, 60, 58, 77, 57, 55, 54, 52, 50, 50, 49, 48, 47}, // J
                                     {62, 59, 57, 55, 75, 54, 52, 50, 49, 47, 46, 45, 44}, // 10
                                     {60, 57, 55, 53, 51, 72, 50, 49, 47, 45, 43, 43, 42}, // 9
                                     {59, 56, 53, 51, 49, 48, 69, 48, 46, 44, 42, 40, 40}, // 8
                                     {58, 55, 51, 49, 47, 46, 45, 66, 45, 43, 41, 40, 38}, // 7
                                     {57, 54, 51, 47, 46, 44, 43, 42, 63, 43, 41, 39, 37}, // 6
                                     {57, 53, 50, 47, 44, 42, 41, 40, 39, 60, 41, 39, 37}, // 5
                                     {56, 52, 49, 46, 43, 40, 39, 38, 38, 38, 57, 38, 36}, // 4
                                     {55, 51, 48, 45, 42, 40, 37, 36, 36, 36, 35, 53, 35}, // 3
                                     {54, 50, 47, 44, 41, 39, 36, 34, 34, 34, 33, 32, 50}}; // 2
// clang-format on

// What the result box must hold after one evaluation of these texts and this suited state.
inline std::string resultAfterEvaluation(std::string_view card1, std::string_view card2, int suited)
{
    const auto at = [](auto rank) { return std::ranges::find(Ranks, rank) - Ranks.begin(); };
    const auto [high, low] = std::minmax({at(card1), at(card2)}); // the higher rank comes first
    const bool known = low < 13 && (high == low || suited == 0 || suited == 1);
    return known ? std::to_string(suited == 1 ? Grid[high][low] : Grid[low][high]) + "%" : "";
}

} // namespace expected
