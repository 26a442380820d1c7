// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/xlsx_reader.h"

#include <expat.h>
#include <zip.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "sheet/system_error.h"

namespace taxcalc {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{64} << 10;

// The proleptic Gregorian date of a day counted from 1970-01-01.
void CivilFromDays(long long days, long long &year, unsigned &month, unsigned &day) noexcept {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// "B7" gives column 1 (from 0); false for anything that is not a cell reference
// within the sheet's width.
bool PositiveNumber(const char *text, std::uint64_t &value) {
    const char *end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    return error == std::errc{} && stop == end && value > 0;
}

// "B7" in row 7 gives column 1 (from 0); false for anything that is not a cell
// reference within the sheet's width and in that row.
bool ColumnOf(const char *reference, std::uint64_t row, std::size_t &column) {
    std::size_t value = 0;
    std::size_t letters = 0;
    for (; *reference >= 'A' && *reference <= 'Z'; ++reference, ++letters) {
        value = value * 26 + static_cast<std::size_t>(*reference - 'A' + 1);
        if (letters == 3) {
            return false;
        }
    }
    std::uint64_t number = 0;
    if (letters == 0 || value > XlsxReader::kMaxColumns || !PositiveNumber(reference, number) ||
        number != row) {
        return false;
    }
    column = value - 1;
    return true;
}

std::string_view TrimSpace(std::string_view text) noexcept {
    while (!text.empty() &&
           (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}
}  // namespace

XlsxReader::XlsxReader() : m_chunk(kChunkBytes) {}

XlsxReader::~XlsxReader() = default;

bool XlsxReader::NumberForm(std::string_view value, std::string &form) {
    value = TrimSpace(value);
    double number = 0;
    const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc{} || stop != value.data() + value.size() || !std::isfinite(number)) {
        return false;
    }
    if (number == 0) {
        // No "-0". Built a character at a time: GCC 12 at -O3 warns falsely about
        // overlapping copies when a short literal is assigned.
        form.clear();
        form.push_back('0');
        return true;
    }
    // The shortest digits that read back as the same double, then written out without
    // an exponent, as the amount parser reads them: 1.234567890123457e+17 gives
    // 123456789012345700, not the exact 123456789012345696.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific);
    if (result.ec != std::errc{}) {
        return false;
    }
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = scientific.find('e');
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1),
                    scientific.data() + scientific.size(), exponent);
    std::string digits;
    for (const char c : scientific.substr(0, e)) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    form.clear();
    if (number < 0) {
        form.push_back('-');
    }
    const long point = exponent + 1;  // digits before the decimal point
    const auto count = static_cast<long>(digits.size());
    if (point <= 0) {
        form.append("0.").append(static_cast<std::size_t>(-point), '0').append(digits);
    } else if (point >= count) {
        form.append(digits).append(static_cast<std::size_t>(point - count), '0');
    } else {
        form.append(digits, 0, static_cast<std::size_t>(point))
            .append(".")
            .append(digits, static_cast<std::size_t>(point));
    }
    return true;
}

// The number formats that a workbook need not list: their ids show these parts of a
// date, the East Asian ones included. 46 ([h]:mm:ss) is a duration, no time of day.
std::uint8_t XlsxReader::BuiltinDateParts(unsigned id) noexcept {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 54) || id == 57 ||
        id == 58) {
        return XlsxReader::kDay;
    }
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 35) || id == 45 || id == 47 || id == 55 || id == 56) {
        return XlsxReader::kTimeOfDay;
    }
    return id == 22 ? static_cast<std::uint8_t>(XlsxReader::kDay | XlsxReader::kTimeOfDay)
                    : XlsxReader::kNoDate;
}

std::uint8_t XlsxReader::DatePartsOf(std::string_view code) {
    bool day = false;
    bool time = false;
    bool month = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == ';') {
            break;  // the first section, for positive numbers, tells
        }
        if (c == '"') {
            const std::size_t close = code.find('"', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is shown or repeated, not interpreted
        } else if (c == '[') {
            const std::size_t close = code.find(']', i + 1);
            const char first = i + 1 < code.size() ? static_cast<char>(code[i + 1] | 0x20) : '\0';
            if (first == 'h' || first == 'm' || first == 's') {
                return kNoDate;  // [h], [mm], [ss]: elapsed time
            }
            i = close == std::string_view::npos ? code.size() : close;  // a colour, a locale, a condition
        } else {
            const char lower = static_cast<char>(c | 0x20);
            day = day || lower == 'y' || lower == 'd';
            time = time || lower == 'h' || lower == 's';
            month = month || lower == 'm';
        }
    }
    // "m" is a month unless hours or seconds make it minutes.
    day = day || (month && !time);
    return static_cast<std::uint8_t>((day ? kDay : kNoDate) | (time ? kTimeOfDay : kNoDate));
}

bool XlsxReader::DateForm(double serial, std::uint8_t parts, bool from1904, std::string &form) {
    // 2958466 is 10000-01-01 in the 1900 count.
    if (parts == kNoDate || !(serial >= 0) || serial >= 2958466) {
        return false;
    }
    auto days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    // Nothing that the cell holds is left out: a date shown without its time keeps
    // the time, a time shown without its date keeps a date.
    const bool showDay = (parts & kDay) != 0 || days != 0;
    const bool showTime = (parts & kTimeOfDay) != 0 || seconds != 0;
    char buffer[32];
    int length = 0;
    if (showDay) {
        long long sinceEpoch = 0;
        if (from1904) {
            sinceEpoch = days - 24107;
        } else if (days == 0 || days == 60) {
            return false;  // 1900-01-00 and the 1900-02-29 that never was
        } else {
            // The 1900 count takes 1900 for a leap year: from 1 March 1900 on it is a day ahead.
            sinceEpoch = days < 60 ? days - 25568 : days - 25569;
        }
        long long year = 0;
        unsigned month = 0;
        unsigned day = 0;
        CivilFromDays(sinceEpoch, year, month, day);
        length = std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", year, month, day);
    }
    if (showTime) {
        length += std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length),
                                "%s%02lld:%02lld:%02lld", showDay ? " " : "", seconds / 3600,
                                seconds / 60 % 60, seconds % 60);
    }
    form.assign(buffer, static_cast<std::size_t>(length));
    return true;
}

bool XlsxReader::Open(const std::string &path, std::string &error) {
    const StdioPtr file(std::fopen(path.c_str(), "rb"));
    if (file == nullptr) {
        error = "无法打开 " + path + "：" + SystemErrorText(errno);
        return false;
    }
    return Open(file.get(), error);
}

bool XlsxReader::Open(std::FILE *file, std::string &error) {
    if (!m_package.Open(file, error)) {
        return false;
    }
    m_styleDates.reserve(m_package.StyleFormats().size());
    for (const unsigned id : m_package.StyleFormats()) {
        const std::string *code = m_package.FormatCode(id);
        m_styleDates.push_back(code != nullptr ? DatePartsOf(*code) : BuiltinDateParts(id));
    }
    m_sheet = m_package.OpenSheet(m_sheetSize, error);
    if (m_sheet == nullptr) {
        return false;
    }
    m_parser = XlsxPackage::NewParser(error);
    if (m_parser == nullptr) {
        return false;
    }
    // The handlers get the parser; the reader is its user data.
    XML_SetUserData(m_parser.get(), this);
    XML_SetElementHandler(m_parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(m_parser.get(), OnText);
    return true;
}

std::uint64_t XlsxReader::BytesRead() const noexcept {
    if (m_sheetSize == 0 || m_package.FileSize() == 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(static_cast<double>(m_sheetRead) / static_cast<double>(m_sheetSize) *
                                      static_cast<double>(m_package.FileSize()));
}

std::string XlsxReader::Notice() const {
    return SheetNotice(m_package.SheetName(), m_package.SheetHidden(), m_package.OtherSheets().size());
}

std::string XlsxReader::SheetNotice(const std::string &name, bool hidden, std::size_t others) {
    if (others == 0 && !hidden) {
        return {};
    }
    std::string notice = "读取的是工作表“" + name + "”";
    if (hidden) {
        notice += "（隐藏）";
    }
    if (others > 0) {
        notice += "，另有 " + std::to_string(others) + " 个工作表未读取";
    }
    return notice;
}

RecordSource::Status XlsxReader::Fail(std::string message) {
    m_error = std::move(message);
    m_sheetDone = true;
    return Status::Failed;
}

void XlsxReader::Stop(std::string message) {
    if (m_error.empty()) {
        m_error = std::move(message);
    }
    XML_StopParser(m_parser.get(), XML_FALSE);
}

RecordSource::Status XlsxReader::Read(CsvRecord &record) {
    while (true) {
        if (m_pendingEmpty > 0) {
            --m_pendingEmpty;
            record.Clear();
            record.Line = ++m_lastEmitted;
            return Status::Record;
        }
        if (m_haveRow) {
            m_haveRow = false;
            std::swap(record, m_row);
            m_lastEmitted = record.Line;
            return Status::Record;
        }
        if (m_sheetDone || m_parser == nullptr) {
            return m_error.empty() ? Status::End : Status::Failed;
        }
        if (const Status status = Continue(); status != Status::Record) {
            return status;
        }
    }
}

// Parses on until a row is complete (the handlers suspend the parser there) or the
// sheet ends.
RecordSource::Status XlsxReader::Continue() {
    XML_Status status;
    if (m_suspended) {
        m_suspended = false;
        status = XML_ResumeParser(m_parser.get());
    } else {
        if (m_chunkFinal) {
            m_sheetDone = true;
            return Status::End;
        }
        const zip_int64_t got = zip_fread(m_sheet.get(), m_chunk.data(), m_chunk.size());
        if (got < 0) {
            return Fail(std::string("无法读取工作表：") + zip_file_strerror(m_sheet.get()));
        }
        m_sheetRead += static_cast<std::uint64_t>(got);
        if (m_sheetRead > kMaxSheetBytes) {
            return Fail("工作表解压后过大");
        }
        m_chunkFinal = got == 0;
        status = XML_Parse(m_parser.get(), m_chunk.data(), static_cast<int>(got), m_chunkFinal);
    }
    if (status != XML_STATUS_ERROR && XlsxPackage::TokenTooLong(m_parser.get(), m_sheetRead)) {
        return Fail("工作表中有一段 XML 标记长于 1 MiB");
    }
    if (status == XML_STATUS_SUSPENDED) {
        m_suspended = true;
        return Status::Record;
    }
    if (status == XML_STATUS_ERROR) {
        if (!m_error.empty()) {
            return Fail(m_error);
        }
        if (XML_GetErrorCode(m_parser.get()) == XML_ERROR_ABORTED && m_sheetDone) {
            // The sheet's data ended; what follows is not parsed, but read all the same,
            // so that a sheet whose bytes were altered is refused by its checksum.
            std::string reason;
            if (!XlsxPackage::ReadToEnd(m_sheet.get(), m_sheetRead, kMaxSheetBytes, reason)) {
                return Fail("无法读取工作表：" + reason);
            }
            return Status::Record;
        }
        return Fail("工作表不是有效的 XML（第 " + std::to_string(XML_GetCurrentLineNumber(m_parser.get())) +
                    " 行）：" + XML_ErrorString(XML_GetErrorCode(m_parser.get())));
    }
    if (m_chunkFinal) {
        m_sheetDone = true;
    }
    return Status::Record;
}

void XlsxReader::OnStart(void *parser, const char *name, const char **attributes) {
    auto *self = static_cast<XlsxReader *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    const std::string_view local = XlsxPackage::Local(name);
    if (local == "c") {
        self->StartCell(attributes);
    } else if (local == "row") {
        self->StartRow(attributes);
    } else if (!self->m_inCell) {
        return;
    } else if (local == "v") {
        self->m_collect = self->m_inlineDepth == 0;
    } else if (local == "is") {
        ++self->m_inlineDepth;
    } else if (local == "rPh") {
        ++self->m_phoneticDepth;
    } else if (local == "t") {
        self->m_collect = self->m_inlineDepth > 0 && self->m_phoneticDepth == 0;
    }
}

void XlsxReader::OnEnd(void *parser, const char *name) {
    auto *self = static_cast<XlsxReader *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    const std::string_view local = XlsxPackage::Local(name);
    if (local == "c") {
        self->EndCell();
    } else if (local == "row") {
        self->EndRow();
    } else if (local == "sheetData") {
        self->m_sheetDone = true;
        XML_StopParser(self->m_parser.get(), XML_FALSE);
    } else if (local == "v" || local == "t") {
        self->m_collect = false;
    } else if (local == "is") {
        --self->m_inlineDepth;
    } else if (local == "rPh") {
        --self->m_phoneticDepth;
    }
}

void XlsxReader::OnText(void *parser, const char *text, int length) {
    auto *self = static_cast<XlsxReader *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    if (self->m_collect) {
        if (self->m_value.size() + static_cast<std::size_t>(length) > kMaxRowBytes) {
            self->Stop("第 " + std::to_string(self->m_rowNumber) + " 行超过 1 MiB 的上限");
            return;
        }
        self->m_value.append(text, static_cast<std::size_t>(length));
    }
}

void XlsxReader::StartRow(const char **attributes) {
    std::uint64_t number = m_rowNumber + 1;
    if (const char *reference = XlsxPackage::Attribute(attributes, "r")) {
        if (!PositiveNumber(reference, number) || number <= m_rowNumber) {
            Stop("工作表的行号 " + std::string(reference) + " 无效或次序错乱");
            return;
        }
    }
    if (number > kMaxRows) {
        Stop("工作表超过 " + std::to_string(kMaxRows) + " 行");
        return;
    }
    m_rowNumber = number;
    m_row.Clear();
    m_row.Line = number;
    m_column = 0;
}

void XlsxReader::StartCell(const char **attributes) {
    std::size_t column = m_column;
    if (const char *reference = XlsxPackage::Attribute(attributes, "r")) {
        if (!ColumnOf(reference, m_rowNumber, column)) {
            Stop("第 " + std::to_string(m_rowNumber) + " 行的单元格位置 " + reference + " 无效");
            return;
        }
    }
    if (column < m_row.Size() || column >= kMaxColumns) {
        Stop("第 " + std::to_string(m_rowNumber) + " 行的单元格次序错乱");
        return;
    }
    while (m_row.Size() < column) {
        m_row.Ends.push_back(m_row.Text.size());
        m_row.Kinds.push_back(CellKind::Text);
    }
    m_cellDate = kNoDate;
    std::uint64_t style = 0;
    if (const char *index = XlsxPackage::Attribute(attributes, "s");
        index != nullptr && std::from_chars(index, index + std::strlen(index), style).ec == std::errc{} &&
        style < m_styleDates.size()) {
        m_cellDate = m_styleDates[style];
    }
    const char *type = XlsxPackage::Attribute(attributes, "t");
    const std::string_view kind = type == nullptr ? "n" : type;
    if (kind == "s") {
        m_type = ValueType::Shared;
    } else if (kind == "inlineStr") {
        m_type = ValueType::Inline;
    } else if (kind == "b") {
        m_type = ValueType::Boolean;
    } else if (kind == "n") {
        m_type = ValueType::Number;
    } else {
        m_type = ValueType::Text;  // "str" (a formula's text), "e" (an error value), "d" (an ISO date)
    }
    m_inCell = true;
    m_collect = false;
    m_inlineDepth = 0;
    m_phoneticDepth = 0;
    m_value.clear();
    m_column = column + 1;
}

void XlsxReader::EndCell() {
    m_inCell = false;
    m_collect = false;
    CellKind kind = CellKind::Text;
    std::string_view text = m_value;
    switch (m_type) {
        case ValueType::Shared: {
            std::uint64_t index = 0;
            const std::string_view digits = TrimSpace(m_value);
            const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
            if (error != std::errc{} || stop != digits.data() + digits.size() ||
                index >= m_package.SharedStrings()) {
                if (digits.empty()) {
                    text = {};
                    break;
                }
                Stop("第 " + std::to_string(m_rowNumber) + " 行引用了不存在的共享字符串");
                return;
            }
            text = m_package.SharedString(index);
            break;
        }
        case ValueType::Number:
            if (NumberForm(m_value, m_form)) {
                kind = CellKind::Number;
                double serial = 0;
                std::from_chars(m_form.data(), m_form.data() + m_form.size(), serial);
                if (m_cellDate != kNoDate && DateForm(serial, m_cellDate, m_package.From1904(), m_form)) {
                    kind = CellKind::Date;
                }
                text = m_form;
            }
            break;
        case ValueType::Boolean: {
            const std::string_view value = TrimSpace(m_value);
            if (value == "1" || value == "0") {
                kind = CellKind::Boolean;
                text = value == "1" ? "TRUE" : "FALSE";
            }
            break;
        }
        case ValueType::Inline:
        case ValueType::Text:
            if (m_value.find("_x") != std::string::npos) {
                XlsxPackage::Unescape(m_value);
                text = m_value;
            }
            break;
    }
    if (text.empty()) {
        kind = CellKind::Text;
    }
    if (m_row.Text.size() + text.size() > kMaxRowBytes) {
        Stop("第 " + std::to_string(m_rowNumber) + " 行超过 1 MiB 的上限");
        return;
    }
    m_row.Text.append(text);
    m_row.Ends.push_back(m_row.Text.size());
    m_row.Kinds.push_back(kind);
}

void XlsxReader::EndRow() {
    // Cells that hold nothing (styled, or a formula without its value) trail off.
    while (m_row.Size() > 0 && m_row.Cell(m_row.Size() - 1).empty()) {
        m_row.Ends.pop_back();
        m_row.Kinds.pop_back();
    }
    if (m_row.Size() == 0) {
        return;
    }
    m_pendingEmpty = m_lastEmitted == 0 ? 0 : m_row.Line - m_lastEmitted - 1;
    m_haveRow = true;
    XML_StopParser(m_parser.get(), XML_TRUE);
}

}  // namespace taxcalc