// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/help_lines.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "sheet/utf8_bytes.h"

namespace taxcalc {
namespace {

constexpr std::array<std::string_view, 12> kClosing{"、", "，", "。", "；", "：", "）",
                                                    "”",  "》", ",",  ".",  ";",  ")"};
constexpr std::array<std::string_view, 3> kOpening{"（", "“", "《"};

bool IsOneOf(std::string_view piece, std::span<const std::string_view> marks) {
    return std::find(marks.begin(), marks.end(), piece) != marks.end();
}

// The text in code points, each as its bytes.
std::vector<std::string_view> Pieces(std::string_view text) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        const std::size_t length = std::max<std::size_t>(1, std::min(Utf8SequenceLength(text), text.size()));
        pieces.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return pieces;
}

bool Wide(std::string_view piece) noexcept {
    return static_cast<unsigned char>(piece.front()) >= 0x80;
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) noexcept {
    std::size_t width = 0;
    while (!text.empty()) {
        const std::size_t length = std::max<std::size_t>(1, std::min(Utf8SequenceLength(text), text.size()));
        width += static_cast<unsigned char>(text.front()) >= 0x80 ? 2 : 1;
        text.remove_prefix(length);
    }
    return width;
}

std::string Wrapped(std::string_view lead, std::string_view text, std::size_t indent, bool atMarksOnly) {
    const std::vector<std::string_view> pieces = Pieces(text);
    std::string out(lead);
    std::size_t column = DisplayWidth(lead);
    std::size_t start = 0;  // the first piece not yet written
    while (start < pieces.size()) {
        // The furthest break that fits, at a blank or a mark between clauses where
        // there is one, else beside any Chinese character; else the first there is.
        std::size_t width = column;
        std::size_t fitsAtMark = 0;  // the piece a line ending there would end before; 0 for none
        std::size_t widthAtMark = 0;
        std::size_t fits = 0;
        std::size_t first = 0;
        for (std::size_t i = start; i < pieces.size(); ++i) {
            const bool atMark =
                i > start && ((pieces[i] == " " && (i + 1 == pieces.size() || pieces[i + 1] != "(")) ||
                              (IsOneOf(pieces[i - 1], kClosing) && !IsOneOf(pieces[i], kClosing)));
            const bool breakable =
                atMark || (!atMarksOnly && i > start && (Wide(pieces[i]) || Wide(pieces[i - 1])) &&
                           !IsOneOf(pieces[i], kClosing) && !IsOneOf(pieces[i - 1], kOpening) &&
                           pieces[i] != " " && pieces[i - 1] != " ");
            if (breakable) {
                if (width <= kHelpWidth) {
                    fits = i;
                    if (atMark) {
                        fitsAtMark = i;
                        widthAtMark = width;
                    }
                }
                if (first == 0) {
                    first = i;
                }
                if (width > kHelpWidth) {
                    break;
                }
            }
            width += DisplayWidth(pieces[i]);
        }
        // A mark far back would leave the line short: then beside a character.
        if (fitsAtMark != 0 && (atMarksOnly || (widthAtMark - column) * 3 >= (kHelpWidth - column) * 2)) {
            fits = fitsAtMark;
        }
        std::size_t end = pieces.size();
        if (width > kHelpWidth) {
            end = fits != 0 ? fits : (first != 0 ? first : pieces.size());
        }
        for (std::size_t i = start; i < end; ++i) {
            out.append(pieces[i]);
        }
        while (!out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        out.push_back('\n');
        start = end;
        while (start < pieces.size() && pieces[start] == " ") {
            ++start;
        }
        if (start < pieces.size()) {
            out.append(indent, ' ');
            column = indent;
        }
    }
    if (pieces.empty()) {
        out.push_back('\n');
    }
    return out;
}

std::string Padded(std::string_view text, std::size_t width) {
    const std::size_t used = DisplayWidth(text);
    return std::string(text) + std::string(used + 2 > width ? 2 : width - used, ' ');
}

}  // namespace taxcalc
