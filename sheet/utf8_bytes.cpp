// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/utf8_bytes.h"

#include <cstdint>
#include <cstring>

namespace taxcalc {

std::size_t AsciiRun(std::string_view bytes) noexcept {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
    }
    return i;
}

std::optional<Utf8Lead> Utf8LeadOf(unsigned char lead) noexcept {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return Utf8Lead{2, 0x80, 0xBF, lead & 0x1Fu};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return Utf8Lead{3, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                        static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF), lead & 0x0Fu};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return Utf8Lead{4, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
                        static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF), lead & 0x07u};
    }
    return std::nullopt;
}

std::size_t Utf8SequenceLength(std::string_view text) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (byte(0) < 0x80) {
        return 1;
    }
    const std::optional<Utf8Lead> lead = Utf8LeadOf(byte(0));
    if (!lead || text.size() < lead->Length || byte(1) < lead->Low || byte(1) > lead->High) {
        return 0;
    }
    for (std::size_t i = 2; i < lead->Length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return lead->Length;
}

}  // namespace taxcalc
