// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/xls_reader.h"

#include <freexl.h>
#include <sys/stat.h>

#include <charconv>
#include <cstring>
#include <string_view>

#include "sheet/input_mark.h"
#include "sheet/xlsx_reader.h"

namespace taxcalc {
namespace {

std::string FreeXlReason(int code) {
    switch (code) {
        case FREEXL_INSUFFICIENT_MEMORY:
            return "内存不足";
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            return "其中没有 Excel 工作簿（也可能已加密）";
        default:
            return "文件已损坏（libfreexl 错误 " + std::to_string(code) + "）";
    }
}

// A number as the workbook reader writes one: its shortest decimal form.
bool NumberText(double value, std::string &form) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return result.ec == std::errc{} &&
           XlsxReader::NumberForm(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                                  form);
}

}  // namespace

void XlsReader::Close::operator()(const void *handle) const noexcept {
    freexl_close(handle);
}

XlsReader::XlsReader() = default;
XlsReader::~XlsReader() = default;

bool XlsReader::Open(std::FILE *file, std::string &error) {
    // libfreexl opens a path: the descriptor's own, or that of a copy of a pipe.
    std::FILE *readable = file;
    if (!InputMark(file).Regular()) {
        m_spool = SeekableCopy(file, error);
        if (m_spool == nullptr) {
            return false;
        }
        readable = m_spool.get();
    }
    struct stat status {};
    if (fstat(fileno(readable), &status) == 0) {
        m_fileSize = static_cast<std::uint64_t>(status.st_size);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fileno(readable));
    const void *handle = nullptr;
    const int opened = freexl_open(path.c_str(), &handle);
    m_handle.reset(handle);
    if (opened != FREEXL_OK) {
        error = "不是完好的 .xls 工作簿：" + FreeXlReason(opened);
        return false;
    }
    unsigned int value = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &value) == FREEXL_OK &&
        value == FREEXL_BIFF_OBFUSCATED) {
        error = "工作簿已加密，不能读取";
        return false;
    }
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &value) != FREEXL_OK || value == 0) {
        error = "工作簿里没有工作表";
        return false;
    }
    if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &m_rows, &m_columns) != FREEXL_OK) {
        error = "不是完好的 .xls 工作簿：读不出第一张工作表";
        return false;
    }
    return true;
}

RecordSource::Status XlsReader::Read(CsvRecord &record) {
    if (!m_error.empty()) {
        return Status::Failed;
    }
    if (m_row >= m_rows) {
        return Status::End;
    }
    record.Clear();
    record.Line = m_row + 1;
    std::string form;
    // The cells up to the last that holds something: trailing empty ones carry nothing.
    std::size_t width = 0;
    for (unsigned short column = 0; column < m_columns; ++column) {
        FreeXL_CellValue cell{};
        if (freexl_get_cell_value(m_handle.get(), m_row, column, &cell) != FREEXL_OK) {
            m_error = "不是完好的 .xls 工作簿：第 " + std::to_string(m_row + 1) + " 行读不出";
            return Status::Failed;
        }
        CellKind kind = CellKind::Text;
        form.clear();
        switch (cell.type) {
            case FREEXL_CELL_INT:
                form = std::to_string(cell.value.int_value);
                kind = CellKind::Number;
                break;
            case FREEXL_CELL_DOUBLE:
                if (!NumberText(cell.value.double_value, form)) {
                    form.clear();
                }
                kind = CellKind::Number;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                form = cell.value.text_value != nullptr ? cell.value.text_value : "";
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                form = cell.value.text_value != nullptr ? cell.value.text_value : "";
                kind = CellKind::Date;
                break;
            default:
                break;
        }
        record.Text += form;
        record.Ends.push_back(record.Text.size());
        record.Kinds.push_back(kind);
        if (!form.empty()) {
            width = record.Ends.size();
        }
        if (record.Text.size() > kMaxRowBytes) {
            m_error = "第 " + std::to_string(m_row + 1) + " 行超过 1 MiB";
            return Status::Failed;
        }
    }
    record.Ends.resize(width);
    record.Kinds.resize(width);
    record.Text.resize(width == 0 ? 0 : record.Ends.back());
    ++m_row;
    return Status::Record;
}

std::uint64_t XlsReader::BytesRead() const noexcept {
    return m_rows == 0 ? m_fileSize : m_fileSize * m_row / m_rows;
}

}  // namespace taxcalc
