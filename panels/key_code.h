// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>

// The 16-bit character codes that the entries' key procedure knows by name, as the
// toolkit delivers them before the character is inserted.
namespace taxcalc::KeyCode {

inline constexpr std::uint16_t Swallowed = 0;  // what the procedure leaves to drop the key
inline constexpr std::uint16_t Backspace = 8;
inline constexpr std::uint16_t Enter = 13;
inline constexpr std::uint16_t Escape = 27;
inline constexpr std::uint16_t Point = '.';
inline constexpr std::uint16_t DigitZero = '0';
inline constexpr std::uint16_t DigitNine = '9';
inline constexpr std::uint16_t LastControlLetter = 26;  // Ctrl+Z; Ctrl+A is 1

}  // namespace taxcalc::KeyCode
