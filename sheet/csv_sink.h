// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "sheet/csv_writer.h"
#include "sheet/record_sink.h"
#include "sheet/system_error.h"

namespace taxcalc {

// Rows as UTF-8 CSV with a byte order mark; kinds make no difference to the bytes.
class CsvSink final : public RecordSink {
public:
    explicit CsvSink(std::FILE *output) : m_writer(output) { m_writer.ByteOrderMark(); }

    void Cell(std::string_view text, CellKind kind) override {
        // A number, a boolean or a date never holds a separator, a quote or a line break.
        if (kind == CellKind::Text) {
            m_writer.Cell(text);
        } else {
            m_writer.TrustedCell(text);
        }
    }
    void EndRow() override { m_writer.EndRow(); }
    bool Failed() const noexcept override { return m_writer.Failed(); }
    bool Finish(std::string &error) override {
        if (m_writer.Flush()) {
            return true;
        }
        error = std::string("写入失败：") + SystemErrorText(m_writer.ErrorNumber());
        return false;
    }

private:
    CsvWriter m_writer;
};

}  // namespace taxcalc
