// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/biff_records.h"

#include <algorithm>

namespace taxcalc {
namespace {

std::uint32_t Byte(std::string_view bytes, std::size_t at) noexcept {
    return static_cast<unsigned char>(bytes[at]);
}

void AppendUtf8(std::uint32_t code, std::string &text) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

bool BiffRecords::Next(Record &record, std::string &error) {
    record.Data.clear();
    record.Breaks.clear();
    if (m_at >= m_stream.size()) {
        return false;
    }
    const auto header = [&](std::size_t at, std::uint32_t &type, std::size_t &length) {
        if (m_stream.size() - at < 4) {
            return false;
        }
        type = Byte(m_stream, at) | Byte(m_stream, at + 1) << 8;
        length = Byte(m_stream, at + 2) | Byte(m_stream, at + 3) << 8;
        return type != 0 && length <= kMaxRecordBytes && length <= m_stream.size() - at - 4;
    };
    std::uint32_t type = 0;
    std::size_t length = 0;
    if (!header(m_at, type, length)) {
        error = "文件已损坏（工作簿流第 " + std::to_string(m_at) + " 字节处的记录无效）";
        return false;
    }
    record.Type = static_cast<std::uint16_t>(type);
    record.Offset = m_at;
    record.Data.assign(m_stream.substr(m_at + 4, length));
    m_at += 4 + length;
    std::uint32_t next = 0;
    while (m_stream.size() - m_at >= 4 && Byte(m_stream, m_at) == (kContinue & 0xFF) &&
           Byte(m_stream, m_at + 1) == kContinue >> 8) {
        if (!header(m_at, next, length)) {
            error = "文件已损坏（工作簿流第 " + std::to_string(m_at) + " 字节处的记录无效）";
            return false;
        }
        record.Breaks.push_back(record.Data.size());
        record.Data.append(m_stream.substr(m_at + 4, length));
        m_at += 4 + length;
    }
    return true;
}

bool BiffRecords::Cursor::Skip(std::size_t bytes) noexcept {
    if (bytes > Left()) {
        return false;
    }
    m_at += bytes;
    return true;
}

bool BiffRecords::Cursor::U8(std::uint32_t &value) noexcept {
    if (Left() < 1) {
        return false;
    }
    value = Byte(m_record.Data, m_at);
    m_at += 1;
    return true;
}

bool BiffRecords::Cursor::U16(std::uint32_t &value) noexcept {
    if (Left() < 2) {
        return false;
    }
    value = Byte(m_record.Data, m_at) | Byte(m_record.Data, m_at + 1) << 8;
    m_at += 2;
    return true;
}

bool BiffRecords::Cursor::U32(std::uint32_t &value) noexcept {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (Left() < 4) {
        return false;
    }
    U16(low);
    U16(high);
    value = low | high << 16;
    return true;
}

bool BiffRecords::Cursor::Characters(std::size_t count, std::uint32_t flags, std::string &text) {
    text.clear();
    const std::vector<std::size_t> &breaks = m_record.Breaks;
    auto next = std::upper_bound(breaks.begin(), breaks.end(), m_at);
    std::uint32_t pending = 0;  // a high surrogate waiting for its low one
    while (count > 0) {
        const std::size_t end = next == breaks.end() ? m_record.Data.size() : *next;
        const std::size_t width = (flags & 1) != 0 ? 2 : 1;
        const std::size_t here = std::min(count, (end - m_at) / width);
        for (std::size_t i = 0; i < here; ++i, m_at += width) {
            std::uint32_t unit = Byte(m_record.Data, m_at);
            if (width == 2) {
                unit |= Byte(m_record.Data, m_at + 1) << 8;
            }
            if (pending != 0 && unit >= 0xDC00 && unit <= 0xDFFF) {
                AppendUtf8(0x10000 + ((pending - 0xD800) << 10) + (unit - 0xDC00), text);
                pending = 0;
                continue;
            }
            if (pending != 0) {
                AppendUtf8(0xFFFD, text);  // a high surrogate alone
                pending = 0;
            }
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                pending = unit;
            } else {
                AppendUtf8(unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit, text);
            }
        }
        count -= here;
        if (count == 0) {
            break;
        }
        // The characters go on in the next CONTINUE record, after a byte of its own flags.
        if (m_at != end || next == breaks.end() || m_at >= m_record.Data.size()) {
            return false;
        }
        flags = Byte(m_record.Data, m_at);
        ++m_at;
        ++next;
    }
    if (pending != 0) {
        AppendUtf8(0xFFFD, text);
    }
    return true;
}

bool BiffRecords::Cursor::String(std::string &text) {
    std::uint32_t count = 0;
    std::uint32_t flags = 0;
    return U16(count) && U8(flags) && Characters(count, flags, text);
}

bool BiffRecords::Cursor::ShortString(std::string &text) {
    std::uint32_t count = 0;
    std::uint32_t flags = 0;
    return U8(count) && U8(flags) && Characters(count, flags, text);
}

bool BiffRecords::Cursor::RichString(std::string &text) {
    std::uint32_t count = 0;
    std::uint32_t flags = 0;
    std::uint32_t runs = 0;
    std::uint32_t phonetic = 0;
    if (!U16(count) || !U8(flags)) {
        return false;
    }
    if ((flags & 0x08) != 0 && !U16(runs)) {
        return false;
    }
    if ((flags & 0x04) != 0 && !U32(phonetic)) {
        return false;
    }
    return Characters(count, flags, text) && Skip(std::size_t{runs} * 4) && Skip(phonetic);
}

}  // namespace taxcalc
