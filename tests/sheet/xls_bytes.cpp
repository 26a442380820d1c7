// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/sheet/xls_bytes.h"

#include <algorithm>
#include <bit>

namespace taxcalc::test {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::size_t kSector = 512;

std::string Place(std::uint32_t row, std::uint32_t column, std::uint32_t xf) {
    return Le16(row) + Le16(column) + Le16(xf);
}

std::string Formula(std::uint32_t row, std::uint32_t column, std::uint32_t xf, const std::string &value) {
    // The formula's tokens: the number 1 (tInt).
    return BiffRecord(0x0006, Place(row, column, xf) + value + Le16(0) + Le32(0) + Le16(3) + "\x1E\x01" +
                                  std::string(1, '\0'));
}

}  // namespace

std::string Units(std::u16string_view text, bool wide) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += wide ? Le16(unit) : std::string(1, static_cast<char>(unit));
    }
    return bytes;
}

std::string Le16(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string Le32(std::uint32_t value) {
    return Le16(value & 0xFFFF) + Le16(value >> 16);
}

std::string LeDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return Le32(static_cast<std::uint32_t>(bits)) + Le32(static_cast<std::uint32_t>(bits >> 32));
}

std::string BiffRecord(std::uint16_t type, std::string_view data) {
    return Le16(type) + Le16(static_cast<std::uint32_t>(data.size())) + std::string(data);
}

std::string BiffString(std::u16string_view text, bool wide, bool shortCount) {
    const auto count = static_cast<std::uint32_t>(text.size());
    return (shortCount ? std::string(1, static_cast<char>(count)) : Le16(count)) +
           std::string(1, wide ? '\x01' : '\0') + Units(text, wide);
}

std::string NumberCell(std::uint32_t row, std::uint32_t column, double value, std::uint32_t xf) {
    return BiffRecord(0x0203, Place(row, column, xf) + LeDouble(value));
}

std::string LabelCell(std::uint32_t row, std::uint32_t column, std::u16string_view text) {
    return BiffRecord(0x0204, Place(row, column, 0) + BiffString(text));
}

std::string SharedCell(std::uint32_t row, std::uint32_t column, std::uint32_t index) {
    return BiffRecord(0x00FD, Place(row, column, 0) + Le32(index));
}

std::string BoolErrCell(std::uint32_t row, std::uint32_t column, std::uint32_t value, bool error) {
    return BiffRecord(0x0205,
                      Place(row, column, 0) + static_cast<char>(value) + static_cast<char>(error ? 1 : 0));
}

std::string FormulaNumber(std::uint32_t row, std::uint32_t column, double value, std::uint32_t xf) {
    return Formula(row, column, xf, LeDouble(value));
}

std::string FormulaOther(std::uint32_t row, std::uint32_t column, std::uint32_t type, std::uint32_t value) {
    return Formula(row, column, 0,
                   std::string(1, static_cast<char>(type)) + '\0' + static_cast<char>(value) +
                       std::string(3, '\0') + "\xFF\xFF");
}

std::string FormulaText(std::uint32_t row, std::uint32_t column, std::u16string_view text) {
    return FormulaOther(row, column, 0, 0) + BiffRecord(0x0207, BiffString(text));
}

std::string SharedStrings(const std::vector<std::u16string> &strings, std::size_t limit, bool switchWidths) {
    std::vector<std::string> parts{Le32(static_cast<std::uint32_t>(strings.size())) +
                                   Le32(static_cast<std::uint32_t>(strings.size()))};
    for (const std::u16string &text : strings) {
        const bool narrow = std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
        bool wide = !narrow;
        if (parts.back().size() + 4 > limit) {
            parts.emplace_back();
        }
        parts.back() += Le16(static_cast<std::uint32_t>(text.size())) + std::string(1, wide ? '\x01' : '\0');
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t width = wide ? 2 : 1;
            const std::size_t room = (limit - parts.back().size()) / width;
            if (room == 0) {
                wide = switchWidths && narrow ? !wide : wide;
                parts.emplace_back(1, wide ? '\x01' : '\0');
                continue;
            }
            const std::size_t take = std::min(room, text.size() - at);
            parts.back() += Units(std::u16string_view(text).substr(at, take), wide);
            at += take;
        }
    }
    std::string records;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        records += BiffRecord(i == 0 ? 0x00FC : 0x003C, parts[i]);
    }
    return records;
}

std::string BiffWorkbook(const std::string &globals, const std::vector<XlsSheet> &sheets) {
    const auto bof = [](std::uint32_t kind) {
        return BiffRecord(0x0809,
                          Le16(0x0600) + Le16(kind) + Le16(0x0DBB) + Le16(0x07CC) + Le32(0) + Le32(6));
    };
    const std::string eof = BiffRecord(0x000A, "");
    std::size_t head = bof(5).size() + globals.size() + eof.size();
    for (const XlsSheet &sheet : sheets) {
        head += 4 + 6 + BiffString(sheet.Name, true, true).size();
    }
    std::string stream = bof(5) + globals;
    std::size_t at = head;
    for (const XlsSheet &sheet : sheets) {
        stream += BiffRecord(0x0085, Le32(static_cast<std::uint32_t>(at)) + static_cast<char>(sheet.State) +
                                         static_cast<char>(sheet.Type) + BiffString(sheet.Name, true, true));
        at += bof(0x10).size() + sheet.Records.size() + eof.size();
    }
    stream += eof;
    for (const XlsSheet &sheet : sheets) {
        stream += bof(sheet.Type == 2 ? 0x20 : 0x10) + sheet.Records + eof;
    }
    return stream;
}

std::string CompoundBytes(const std::vector<std::pair<std::u16string, std::string>> &streams) {
    std::vector<std::string> data;
    std::size_t dataSectors = 0;
    for (const auto &stream : streams) {
        std::string bytes = stream.second;
        bytes.resize(std::max<std::size_t>(4096, (bytes.size() + kSector - 1) / kSector * kSector), '\0');
        dataSectors += bytes.size() / kSector;
        data.push_back(std::move(bytes));
    }
    // The header lists the first 109 FAT sectors, DIFAT sectors 127 more each.
    std::size_t fatSectors = 1;
    std::size_t difatSectors = 0;
    while (fatSectors * (kSector / 4) < fatSectors + difatSectors + 1 + dataSectors) {
        ++fatSectors;
        difatSectors = fatSectors > 109 ? (fatSectors - 109 + 126) / 127 : 0;
    }
    std::vector<std::uint32_t> fat(fatSectors * (kSector / 4), kFree);
    std::fill_n(fat.begin(), fatSectors, kFatSector);
    std::fill_n(fat.begin() + static_cast<std::ptrdiff_t>(fatSectors), difatSectors, 0xFFFFFFFCU);
    const auto directory = static_cast<std::uint32_t>(fatSectors + difatSectors);
    fat[directory] = kEndOfChain;
    std::string header = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + Le16(0x3E) + Le16(3) +
                         Le16(0xFFFE) + Le16(9) + Le16(6) + std::string(6, '\0') + Le32(0) +
                         Le32(static_cast<std::uint32_t>(fatSectors)) + Le32(directory) + Le32(0) +
                         Le32(4096) + Le32(kEndOfChain) + Le32(0) +
                         Le32(difatSectors > 0 ? static_cast<std::uint32_t>(fatSectors) : kEndOfChain) +
                         Le32(static_cast<std::uint32_t>(difatSectors));
    for (std::uint32_t i = 0; i < 109; ++i) {
        header += Le32(i < fatSectors ? i : kFree);
    }
    std::string difat;
    for (std::size_t d = 0; d < difatSectors; ++d) {
        for (std::size_t i = 0; i < 127; ++i) {
            const std::size_t listed = 109 + d * 127 + i;
            difat += Le32(listed < fatSectors ? static_cast<std::uint32_t>(listed) : kFree);
        }
        difat += Le32(d + 1 < difatSectors ? static_cast<std::uint32_t>(fatSectors + d + 1) : kEndOfChain);
    }
    const auto entry = [](std::u16string_view name, std::uint8_t type, std::uint32_t right,
                          std::uint32_t child, std::uint32_t start, std::uint32_t size) {
        std::string bytes = Units(name, true);
        bytes.resize(64, '\0');
        bytes += Le16(static_cast<std::uint32_t>(name.size() + 1) * 2) + static_cast<char>(type) + '\x01' +
                 Le32(kFree) + Le32(right) + Le32(child) + std::string(36, '\0') + Le32(start) + Le32(size) +
                 Le32(0);
        return bytes;
    };
    std::string entries = entry(u"Root Entry", 5, kFree, streams.empty() ? kFree : 1, kEndOfChain, 0);
    std::string body;
    auto next = directory + 1;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto sectors = static_cast<std::uint32_t>(data[i].size() / kSector);
        for (std::uint32_t s = 0; s < sectors; ++s) {
            fat[next + s] = s + 1 < sectors ? next + s + 1 : kEndOfChain;
        }
        entries +=
            entry(streams[i].first, 2, i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : kFree,
                  kFree, next, static_cast<std::uint32_t>(data[i].size()));
        next += sectors;
        body += data[i];
    }
    entries.resize(kSector, '\0');
    std::string file = header;
    for (const std::uint32_t value : fat) {
        file += Le32(value);
    }
    return file + difat + entries + body;
}

std::string XlsFile(const std::string &sheet, const std::string &globals) {
    return CompoundBytes({{u"Workbook", BiffWorkbook(globals, {{u"Sheet1", sheet}})}});
}

}  // namespace taxcalc::test
