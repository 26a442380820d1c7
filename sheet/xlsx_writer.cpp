// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/xlsx_writer.h"

#include <expat.h>
#include <xlsxwriter.h>

#include "sheet/system_error.h"
#include "sheet/xlsx_handles.h"
#include "sheet/xlsx_package.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace taxcalc {
namespace {

// The room between columns, in digits.
constexpr std::uint16_t kWidthMargin = 2;
constexpr std::uint16_t kMinWidth = XlsxWriter::kMinColumnWidth - kWidthMargin;
constexpr std::uint16_t kMaxWidth = XlsxWriter::kMaxColumnWidth - kWidthMargin;

// How wide a text shows: a Chinese character takes two digits' room, other
// characters one. Counts UTF-8 lead bytes, and stops counting past the widest column.
std::uint16_t ShownWidth(std::string_view text) noexcept {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size() && width < kMaxWidth; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            width += 1;
        } else if (byte >= 0xE0) {
            width += 2;  // three- and four-byte sequences: the CJK blocks, full-width forms
        } else if (byte >= 0xC0) {
            width += 1;
        }
    }
    return static_cast<std::uint16_t>(std::min<std::size_t>(width, kMaxWidth));
}

std::size_t CharacterCount(std::string_view text) noexcept {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Reads "2026-01-31", "08:30:00" or "2026-01-31 08:30:00"; false for anything else.
bool AsDate(std::string_view text, lxw_datetime &date, bool &hasDay, bool &hasTime) noexcept {
    const auto field = [&text](std::size_t at, std::size_t length, auto &value) {
        return at + length <= text.size() &&
               std::from_chars(text.data() + at, text.data() + at + length, value).ptr ==
                   text.data() + at + length;
    };
    date = {};
    hasDay = text.size() >= 10 && text[4] == '-' && text[7] == '-';
    if (hasDay && !(field(0, 4, date.year) && field(5, 2, date.month) && field(8, 2, date.day))) {
        return false;
    }
    const std::size_t clock = hasDay ? 11 : 0;
    hasTime = text.size() > clock;
    if (hasTime && !(text.size() == clock + 8 && (!hasDay || text[10] == ' ') && text[clock + 2] == ':' &&
                     text[clock + 5] == ':' && field(clock, 2, date.hour) && field(clock + 3, 2, date.min))) {
        return false;
    }
    int seconds = 0;
    if (hasTime && !field(clock + 6, 2, seconds)) {
        return false;
    }
    date.sec = seconds;
    // libxlsxwriter would carry 2026-13-01 into 2027.
    constexpr int kDaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = date.year % 4 == 0 && (date.year % 100 != 0 || date.year % 400 == 0);
    if (hasDay && (date.year < 1900 || date.month < 1 || date.month > 12 || date.day < 1 ||
                   date.day > kDaysIn[date.month - 1] - (date.month == 2 && !leap ? 1 : 0))) {
        return false;
    }
    return (hasDay || hasTime) && date.hour < 24 && date.min < 60 && seconds < 60;
}

// Whether `text` holds a NUL byte or something that reads as the format's escape
// "_xHHHH_".
// U+FFFE and U+FFFF, which XML may not hold.
constexpr std::string_view kNonCharacterLead = "\xEF\xBF";

bool NeedsEscapes(std::string_view text) noexcept {
    return text.find('\0') != std::string_view::npos || text.find("_x") != std::string_view::npos ||
           text.find(kNonCharacterLead) != std::string_view::npos;
}

// NUL as "_x0000_", U+FFFE and U+FFFF as "_xFFFE_" and "_xFFFF_"; the underscore
// that starts a literal "_xHHHH_" as "_x005F_".
void Escape(std::string_view text, std::string &escaped) {
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
    };
    escaped.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0') {
            escaped += "_x0000_";
        } else if (text.substr(i).starts_with(kNonCharacterLead) && i + 2 < text.size() &&
                   (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
            escaped += text[i + 2] == '\xBE' ? "_xFFFE_" : "_xFFFF_";
            i += 2;
        } else if (text[i] == '_' && i + 7 <= text.size() && text[i + 1] == 'x' && text[i + 6] == '_' &&
                   std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i) + 2,
                               text.begin() + static_cast<std::ptrdiff_t>(i) + 6, isHex)) {
            escaped += "_x005F_";
        } else {
            escaped.push_back(text[i]);
        }
    }
}

bool AsNumber(std::string_view text, double &number) noexcept {
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc{} && stop == text.data() + text.size() && std::isfinite(number);
}

}  // namespace

void XlsxWriter::WorkbookFree::operator()(lxw_workbook *workbook) const noexcept {
    lxw_workbook_free(workbook);
}

XlsxWriter::~XlsxWriter() = default;

bool XlsxWriter::Open(const std::string &path, std::string &error) {
    m_path = path;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    m_workbook.reset(workbook_new_opt(path.c_str(), &options));
    m_sheet = m_workbook == nullptr ? nullptr : workbook_add_worksheet(m_workbook.get(), nullptr);
    if (m_sheet == nullptr) {
        error = "无法创建 .xlsx 工作簿 " + path;
        return false;
    }
    m_header = workbook_add_format(m_workbook.get());
    format_set_bold(m_header);
    m_money = workbook_add_format(m_workbook.get());
    format_set_num_format(m_money, "0.00");
    m_date = workbook_add_format(m_workbook.get());
    format_set_num_format(m_date, "yyyy-mm-dd");
    m_time = workbook_add_format(m_workbook.get());
    format_set_num_format(m_time, "hh:mm:ss");
    m_dateTime = workbook_add_format(m_workbook.get());
    format_set_num_format(m_dateTime, "yyyy-mm-dd hh:mm:ss");
    return true;
}

void XlsxWriter::Fail(std::string message) {
    if (m_error.empty()) {
        m_error = std::move(message);
    }
}

void XlsxWriter::WriteText(std::string_view text, lxw_format *format) {
    if (CharacterCount(text) > kMaxCellCharacters) {
        Fail("第 " + std::to_string(m_row + 1) + " 行有一个单元格超过 .xlsx 单元格的 " +
             std::to_string(kMaxCellCharacters) + " 字符上限");
        return;
    }
    if (NeedsEscapes(text)) {
        Escape(text, m_scratch);
    } else {
        m_scratch.assign(text);  // libxlsxwriter takes a terminated string
    }
    if (worksheet_write_string(m_sheet, m_row, static_cast<lxw_col_t>(m_column), m_scratch.c_str(), format) !=
        LXW_NO_ERROR) {
        Fail("无法写入第 " + std::to_string(m_row + 1) + " 行");
    }
}

void XlsxWriter::Cell(std::string_view text, CellKind kind) {
    if (m_sheet == nullptr || !m_error.empty()) {
        return;
    }
    if (m_row >= kMaxRows || m_column >= kMaxColumns) {
        Fail(m_row >= kMaxRows ? "行数超过 .xlsx 的 " + std::to_string(kMaxRows) + " 行上限"
                               : "列数超过 .xlsx 的 " + std::to_string(kMaxColumns) + " 列上限");
        return;
    }
    if (!text.empty()) {
        ++m_filledCells;
        m_filledRows += m_lastFilled == m_row + 1 ? 0 : 1;
        m_lastFilled = m_row + 1;
        if (m_widths.size() <= m_column) {
            m_widths.resize(m_column + 1, 0);
        }
        m_widths[m_column] = std::max(m_widths[m_column], ShownWidth(text));
        lxw_format *const format = !m_pastHeader ? m_header : kind == CellKind::Money ? m_money : nullptr;
        double number = 0;
        lxw_error written = LXW_NO_ERROR;
        if ((kind == CellKind::Number || kind == CellKind::Money) && AsNumber(text, number)) {
            written =
                worksheet_write_number(m_sheet, m_row, static_cast<lxw_col_t>(m_column), number, format);
        } else if (kind == CellKind::Date && WriteDate(text, !m_pastHeader ? m_header : nullptr)) {
            // written
        } else if (kind == CellKind::Boolean && (text == "TRUE" || text == "FALSE")) {
            written = worksheet_write_boolean(m_sheet, m_row, static_cast<lxw_col_t>(m_column),
                                              text == "TRUE", format);
        } else {
            WriteText(text, format);
        }
        if (written != LXW_NO_ERROR) {
            Fail("无法写入第 " + std::to_string(m_row + 1) + " 行");
        }
    }
    ++m_column;
}

bool XlsxWriter::WriteDate(std::string_view text, lxw_format *header) {
    lxw_datetime date{};
    bool hasDay = false;
    bool hasTime = false;
    if (!AsDate(text, date, hasDay, hasTime)) {
        return false;
    }
    lxw_format *const format = header != nullptr ? header : !hasTime ? m_date : !hasDay ? m_time : m_dateTime;
    if (worksheet_write_datetime(m_sheet, m_row, static_cast<lxw_col_t>(m_column), &date, format) !=
        LXW_NO_ERROR) {
        Fail("无法写入第 " + std::to_string(m_row + 1) + " 行");
    }
    return true;
}

void XlsxWriter::EndRow() {
    if (!m_pastHeader && m_column > 0 && m_sheet != nullptr) {
        m_pastHeader = true;
        worksheet_freeze_panes(m_sheet, m_row + 1, 0);
    }
    ++m_row;
    m_column = 0;
}

bool XlsxWriter::Finish(std::string &error) {
    if (m_workbook == nullptr) {
        error = m_error.empty() ? "没有打开的 .xlsx 工作簿" : m_error;
        return false;
    }
    if (!m_error.empty()) {
        error = m_error;
        return false;
    }
    for (std::size_t column = 0; column < m_widths.size(); ++column) {
        const double width = std::max(m_widths[column], kMinWidth) + kWidthMargin;  // whole digits
        worksheet_set_column(m_sheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column), width,
                             nullptr);
    }
    // Closing writes the workbook and frees it, whatever it returns.
    const lxw_error closed = workbook_close(m_workbook.release());
    m_sheet = nullptr;
    if (closed != LXW_NO_ERROR) {
        const int number = errno;
        error = "无法写入 .xlsx 工作簿：";
        switch (closed) {
            case LXW_ERROR_CREATING_XLSX_FILE:
                error += "无法创建文件（" + SystemErrorText(number) + "）";
                break;
            case LXW_ERROR_CREATING_TMPFILE:
            case LXW_ERROR_READING_TMPFILE:
                error += "临时文件出错（" + SystemErrorText(number) + "）";
                break;
            case LXW_ERROR_MEMORY_MALLOC_FAILED:
                error += "内存不足";
                break;
            default:
                error += "压缩失败（" + SystemErrorText(number) + "）";
                break;
        }
        return false;
    }
    return ReadsBack(error);
}

// The rows and cells of the written sheet, as its XML holds them: a row element for
// each row with a cell, a cell element for each cell that holds anything.
struct WrittenSheet {
    std::uint64_t Rows = 0;
    std::uint64_t Cells = 0;
    std::uint64_t Last = 0;

    static void OnStart(void *parser, const char *name, const char **attributes) {
        auto *self = static_cast<WrittenSheet *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
        const std::string_view local = XlsxPackage::Local(name);
        if (local == "c") {
            ++self->Cells;
        } else if (local == "row") {
            ++self->Rows;
            const char *number = XlsxPackage::Attribute(attributes, "r");
            self->Last = 0;
            if (number != nullptr) {
                std::from_chars(number, number + std::strlen(number), self->Last);
            }
        }
    }
};

bool XlsxWriter::ReadsBack(std::string &error) const {
    const std::string failed = "写入失败：写出的 .xlsx 工作簿读回时";
    const StdioPtr file(std::fopen(m_path.c_str(), "rb"));
    XlsxPackage package;
    std::string reason = file == nullptr ? SystemErrorText(errno) : "";
    if (file == nullptr || !package.Open(file.get(), reason)) {
        error = failed + "无法打开（" + reason + "），磁盘可能已满";
        return false;
    }
    WrittenSheet sheet;
    const XmlParserPtr parser = XlsxPackage::NewParser(reason);
    if (parser == nullptr) {
        error = failed + reason;
        return false;
    }
    XML_SetUserData(parser.get(), &sheet);
    XML_SetStartElementHandler(parser.get(), WrittenSheet::OnStart);
    // The sheet is read to its end by the parse; every other entry after it.
    if (!package.ParseSheet(parser.get(), reason) || !package.CheckOtherEntries(reason)) {
        error = failed + "已损坏（" + reason + "），磁盘可能已满";
        return false;
    }
    if (sheet.Rows != m_filledRows || sheet.Cells != m_filledCells || sheet.Last != m_lastFilled) {
        error = failed + "只有 " + std::to_string(sheet.Rows) + " 行（应有 " + std::to_string(m_filledRows) +
                " 行），磁盘可能已满";
        return false;
    }
    return true;
}

}  // namespace taxcalc
