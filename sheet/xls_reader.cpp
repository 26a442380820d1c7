// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/xls_reader.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <string_view>

#include "sheet/biff_records.h"
#include "sheet/xlsx_reader.h"

namespace taxcalc {
namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRichLabel = 0x00D6;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint32_t kWorksheet = 0x0010;

constexpr std::string_view kDamaged = "不是完好的 .xls 工作簿：文件已损坏（";

// The error values a cell may hold, by their codes.
std::string_view ErrorName(std::uint32_t code) noexcept {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        case 0x2B:
            return "#GETTING_DATA";
        default:
            return {};
    }
}

// An RK number: 30 bits of an integer or of a double's high bits, perhaps a hundredth.
double RkValue(std::uint32_t rk) noexcept {
    double value = 0;
    if ((rk & 2) != 0) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        value = std::bit_cast<double>(std::uint64_t{rk & 0xFFFFFFFCU} << 32);
    }
    return (rk & 1) != 0 ? value / 100 : value;
}

double DoubleAt(const std::string &data, std::size_t at) noexcept {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        bits |= std::uint64_t{static_cast<unsigned char>(data[at + i])} << (8 * i);
    }
    return std::bit_cast<double>(bits);
}

std::string Where(std::uint32_t row, std::uint32_t column) {
    return "第 " + std::to_string(row + 1) + " 行第 " + std::to_string(column + 1) + " 列";
}

}  // namespace

XlsReader::XlsReader() = default;
XlsReader::~XlsReader() = default;

bool XlsReader::Open(std::FILE *file, std::string &error) {
    return m_book.Open(file, error) && ReadSheet(error);
}

std::string XlsReader::Notice() const {
    return XlsxReader::SheetNotice(m_book.SheetName(), m_book.SheetHidden(), m_book.OtherSheets().size());
}

bool XlsReader::ReadSheet(std::string &error) {
    BiffRecords records(m_book.Stream(), m_book.SheetOffset());
    BiffRecords::Record record;
    std::string reason;
    const auto damaged = [&](const std::string &what) {
        error = std::string(kDamaged) + what + "）";
        return false;
    };
    if (!records.Next(record, reason)) {
        return reason.empty() ? damaged("工作表不完整") : damaged(reason);
    }
    std::uint32_t version = 0;
    std::uint32_t kind = 0;
    if (BiffRecords::Cursor bof(record);
        record.Type != kBof || !bof.U16(version) || !bof.U16(kind) || kind != kWorksheet) {
        return damaged("工作表“" + m_book.SheetName() + "”不以工作表的 BOF 记录开始");
    }
    // A chart or another object embedded in the sheet is a stream of its own, from
    // its BOF to its EOF, within the sheet's.
    int depth = 1;
    bool awaitingText = false;  // the last formula's text result is in the STRING record next
    while (depth > 0 && records.Next(record, reason)) {
        BiffRecords::Cursor cursor(record);
        if (record.Type == kBof) {
            ++depth;
            continue;
        }
        if (record.Type == kEof) {
            --depth;
            continue;
        }
        if (depth > 1) {
            continue;
        }
        Cell cell;
        std::uint32_t row = 0;
        std::uint32_t column = 0;
        std::uint32_t xf = 0;
        const bool isCell = record.Type == kNumber || record.Type == kRk || record.Type == kMulRk ||
                            record.Type == kLabelSst || record.Type == kLabel || record.Type == kRichLabel ||
                            record.Type == kBoolErr || record.Type == kFormula;
        if (awaitingText && (isCell || record.Type == kString)) {
            awaitingText = false;
            if (record.Type != kString) {
                const Cell &last = m_cells.back();
                return damaged(Where(last.Row, last.Column) + "的公式缺少它的文字结果");
            }
            std::string text;
            if (!cursor.String(text)) {
                return damaged(Where(m_cells.back().Row, m_cells.back().Column) + "的公式结果不完整");
            }
            m_cells.back().Type = Value::Text;
            m_cells.back().Index = static_cast<std::uint32_t>(m_texts.size());
            m_cells.back().Length = static_cast<std::uint32_t>(text.size());
            m_texts += text;
            continue;
        }
        if (!isCell) {
            continue;  // a BLANK or MULBLANK holds nothing; a SHRFMLA, ARRAY or TABLE keeps a formula's text
                       // pending
        }
        if (!cursor.U16(row) || !cursor.U16(column) || (record.Type != kMulRk && !cursor.U16(xf))) {
            return damaged("第 " + std::to_string(record.Offset) + " 字节处的单元格记录不完整");
        }
        cell.Row = row;
        cell.Column = static_cast<std::uint16_t>(column);
        cell.Xf = static_cast<std::uint16_t>(xf);
        bool whole = true;
        switch (record.Type) {
            case kNumber:
                whole = record.Data.size() == 14;
                cell.Type = Value::Number;
                cell.Number = whole ? DoubleAt(record.Data, 6) : 0;
                break;
            case kRk: {
                std::uint32_t rk = 0;
                whole = cursor.U32(rk) && cursor.Left() == 0;
                cell.Type = Value::Number;
                cell.Number = RkValue(rk);
                break;
            }
            case kMulRk: {
                // Columns first to last, each with its format and number, the last column's index at the end.
                const std::size_t size = record.Data.size();
                if (size < 12 || (size - 6) % 6 != 0) {
                    whole = false;
                    break;
                }
                const std::size_t count = (size - 6) / 6;
                BiffRecords::Cursor last(record, size - 2);
                std::uint32_t lastColumn = 0;
                last.U16(lastColumn);
                if (lastColumn != column + count - 1 || lastColumn >= kMaxColumns) {
                    whole = false;
                    break;
                }
                for (std::size_t i = 0; i < count; ++i) {
                    std::uint32_t rk = 0;
                    cursor.U16(xf);
                    cursor.U32(rk);
                    cell.Column = static_cast<std::uint16_t>(column + i);
                    cell.Xf = static_cast<std::uint16_t>(xf);
                    cell.Type = Value::Number;
                    cell.Number = RkValue(rk);
                    m_cells.push_back(cell);
                }
                continue;
            }
            case kLabelSst: {
                std::uint32_t index = 0;
                whole = cursor.U32(index) && cursor.Left() == 0;
                if (whole && index >= m_book.SharedStrings()) {
                    return damaged(Where(row, column) + "引用了不存在的共享字符串");
                }
                cell.Type = Value::Shared;
                cell.Index = index;
                break;
            }
            case kLabel:
            case kRichLabel: {
                std::string text;
                whole = cursor.String(text);
                cell.Type = Value::Text;
                cell.Index = static_cast<std::uint32_t>(m_texts.size());
                cell.Length = static_cast<std::uint32_t>(text.size());
                m_texts += text;
                break;
            }
            case kBoolErr: {
                std::uint32_t value = 0;
                std::uint32_t isError = 0;
                whole = cursor.U8(value) && cursor.U8(isError) && cursor.Left() == 0;
                cell.Type = isError != 0 ? Value::Error : Value::Boolean;
                cell.Index = value;
                whole = whole && (isError == 0 ? value <= 1 : !ErrorName(value).empty());
                break;
            }
            case kFormula: {
                whole = record.Data.size() >= 20;
                if (!whole) {
                    break;
                }
                // A cached result other than a number has its type in the first byte and
                // 0xFFFF in the last two.
                const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(record.Data[at]); };
                if (byte(12) != 0xFF || byte(13) != 0xFF) {
                    cell.Type = Value::Number;
                    cell.Number = DoubleAt(record.Data, 6);
                    break;
                }
                switch (byte(6)) {
                    case 0:
                        awaitingText = true;
                        cell.Type = Value::Empty;
                        break;
                    case 1:
                        cell.Type = Value::Boolean;
                        cell.Index = byte(8) != 0 ? 1 : 0;
                        break;
                    case 2:
                        cell.Type = Value::Error;
                        cell.Index = byte(8);
                        whole = !ErrorName(cell.Index).empty();
                        break;
                    case 3:
                        cell.Type = Value::Empty;
                        break;
                    default:
                        whole = false;
                }
                break;
            }
            default:
                break;
        }
        if (!whole) {
            return damaged(Where(row, column) + "的记录无效");
        }
        if (column >= kMaxColumns) {
            return damaged(Where(row, column) + "超出工作表的 256 列");
        }
        if (cell.Type == Value::Number && !std::isfinite(cell.Number)) {
            return damaged(Where(row, column) + "的数值无效");
        }
        m_cells.push_back(cell);
    }
    if (depth > 0) {
        return reason.empty() ? damaged("工作表“" + m_book.SheetName() + "”在结束前中断") : damaged(reason);
    }
    if (awaitingText) {
        const Cell &last = m_cells.back();
        return damaged(Where(last.Row, last.Column) + "的公式缺少它的文字结果");
    }
    std::stable_sort(m_cells.begin(), m_cells.end(), [](const Cell &a, const Cell &b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Column < b.Column;
    });
    for (std::size_t i = 1; i < m_cells.size(); ++i) {
        if (m_cells[i].Row == m_cells[i - 1].Row && m_cells[i].Column == m_cells[i - 1].Column) {
            return damaged(Where(m_cells[i].Row, m_cells[i].Column) + "的单元格出现了不止一次");
        }
    }
    return true;
}

bool XlsReader::CellText(const Cell &cell, std::string &text, CellKind &kind) {
    kind = CellKind::Text;
    text.clear();
    switch (cell.Type) {
        case Value::Number: {
            char buffer[32];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, cell.Number);
            if (result.ec != std::errc{} ||
                !XlsxReader::NumberForm(
                    std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)), text)) {
                return false;
            }
            kind = CellKind::Number;
            if (const std::uint8_t parts = m_book.DateParts(cell.Xf);
                parts != XlsxReader::kNoDate &&
                XlsxReader::DateForm(cell.Number, parts, m_book.From1904(), m_form)) {
                text = m_form;
                kind = CellKind::Date;
            }
            return true;
        }
        case Value::Shared:
            text = m_book.SharedString(cell.Index);
            return true;
        case Value::Text:
            text.assign(m_texts, cell.Index, cell.Length);
            return true;
        case Value::Boolean:
            text = cell.Index != 0 ? "TRUE" : "FALSE";
            kind = CellKind::Boolean;
            return true;
        case Value::Error:
            text = ErrorName(cell.Index);
            return true;
        case Value::Empty:
            return true;
    }
    return true;
}

// Makes the next row that holds a value from the cells, or finds there is none.
RecordSource::Status XlsReader::MakeRow() {
    std::string text;
    while (m_next < m_cells.size()) {
        const std::uint32_t row = m_cells[m_next].Row;
        m_row.Clear();
        m_row.Line = std::uint64_t{row} + 1;
        for (; m_next < m_cells.size() && m_cells[m_next].Row == row; ++m_next) {
            const Cell &cell = m_cells[m_next];
            CellKind kind = CellKind::Text;
            if (!CellText(cell, text, kind)) {
                m_error = std::string(kDamaged) + Where(cell.Row, cell.Column) + "的数值无效）";
                return Status::Failed;
            }
            if (text.empty()) {
                kind = CellKind::Text;
            }
            while (m_row.Size() < cell.Column) {
                m_row.Ends.push_back(m_row.Text.size());
                m_row.Kinds.push_back(CellKind::Text);
            }
            if (m_row.Text.size() + text.size() > kMaxRowBytes) {
                m_error = "第 " + std::to_string(m_row.Line) + " 行超过 1 MiB 的上限";
                return Status::Failed;
            }
            m_row.Text += text;
            m_row.Ends.push_back(m_row.Text.size());
            m_row.Kinds.push_back(kind);
        }
        // Cells that hold nothing (a formula whose result is empty text) trail off.
        while (m_row.Size() > 0 && m_row.Cell(m_row.Size() - 1).empty()) {
            m_row.Ends.pop_back();
            m_row.Kinds.pop_back();
        }
        m_row.Text.resize(m_row.Size() == 0 ? 0 : m_row.Ends.back());
        if (m_row.Size() > 0) {
            m_pendingEmpty = m_lastEmitted == 0 ? 0 : m_row.Line - m_lastEmitted - 1;
            m_haveRow = true;
            return Status::Record;
        }
    }
    return Status::End;
}

RecordSource::Status XlsReader::Read(CsvRecord &record) {
    if (!m_error.empty()) {
        return Status::Failed;
    }
    if (!m_haveRow) {
        if (const Status status = MakeRow(); status != Status::Record) {
            return status;
        }
    }
    if (m_pendingEmpty > 0) {
        --m_pendingEmpty;
        record.Clear();
        record.Line = ++m_lastEmitted;
        return Status::Record;
    }
    m_haveRow = false;
    std::swap(record, m_row);
    m_lastEmitted = record.Line;
    return Status::Record;
}

std::uint64_t XlsReader::BytesRead() const noexcept {
    return m_cells.empty() ? m_book.FileSize() : m_book.FileSize() * m_next / m_cells.size();
}

}  // namespace taxcalc
