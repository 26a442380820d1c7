// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string_view>

namespace taxcalc {

// The encodings a payroll CSV comes in, besides the UTF-16 that a byte order mark
// announces and the reader turns into UTF-8.
enum class TextEncoding { Undecided, Utf8, Gb18030 };

constexpr std::string_view EncodingName(TextEncoding encoding) noexcept {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : encoding == TextEncoding::Gb18030 ? "GB18030" : "";
}

}  // namespace taxcalc
