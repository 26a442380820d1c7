// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/column_map.h"

#include "sheet/utf8_bytes.h"

#include <algorithm>

namespace taxcalc {
namespace {

bool Names(const InputColumn &names, std::string_view cell) noexcept {
    const std::string_view name = TrimBlanks(cell);
    return name == names.Chinese || EqualsIgnoringAsciiCase(name, names.English);
}

// The figure's column, kMissing if there is none; fails when there are two.
bool Locate(const InputColumn &names, const CsvRecord &header, std::size_t &column, std::string &error) {
    column = ColumnMap::kMissing;
    for (std::size_t i = 0; i < header.Size(); ++i) {
        if (!Names(names, header.Cell(i))) {
            continue;
        }
        if (column != ColumnMap::kMissing) {
            error = "表头有两列" + std::string(names.Chinese) + "（第 " + std::to_string(column + 1) +
                    " 列“" + std::string(TrimBlanks(header.Cell(column))) + "”和第 " + std::to_string(i + 1) +
                    " 列“" + std::string(TrimBlanks(header.Cell(i))) + "”），不知该用哪一列";
            return false;
        }
        column = i;
    }
    return true;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) noexcept {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ColumnMap::Maps(std::size_t column) const noexcept {
    return std::find(m_columns.begin(), m_columns.end(), column) != m_columns.end();
}

std::optional<ColumnMap> ColumnMap::Find(const Computation &computation, const CsvRecord &header,
                                         std::string &error) {
    const ModeDescription &mode = computation.Mode();
    ColumnMap map;
    map.m_columns.fill(kMissing);
    for (std::size_t i = 0; i < mode.Inputs.size(); ++i) {
        if (computation.Applies(mode.Inputs[i].When) &&
            !Locate(mode.Inputs[i], header, map.m_columns[i], error)) {
            return std::nullopt;
        }
    }
    for (std::size_t i = 0; i < mode.Inputs.size(); ++i) {
        const InputColumn &input = mode.Inputs[i];
        if (map.m_columns[i] == kMissing && input.Default == ColumnDefault::Required &&
            computation.Applies(input.When)) {
            error = "表头中没有" + std::string(input.Chinese) + "列（列名“" + std::string(input.Chinese) +
                    "”或“" + std::string(input.English) + "”）";
            return std::nullopt;
        }
        map.m_names[i] =
            map.m_columns[i] == kMissing ? input.Chinese : TrimBlanks(header.Cell(map.m_columns[i]));
    }
    if (mode.CheckHeader != nullptr && !mode.CheckHeader(map, header, error)) {
        return std::nullopt;
    }
    return map;
}

}  // namespace taxcalc
