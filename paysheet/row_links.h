// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "paysheet/mode_description.h"
#include "paysheet/row_context.h"

namespace taxcalc {

// How a row reads for the links between rows.
enum class RowRead {
    Blank,    // nothing in it: it takes no part
    Refused,  // refused on its own; what could be read of it is in the input
    Read,
};

// How the rows of a mode depend on each other: a pass over the whole table, in any
// order, that gives every row its context. The rows are read through `read`, which
// fills a row's input as the row calculator reads it, or looked at cell by cell.
struct RowLinks {
    using ReadRow = std::function<RowRead(std::size_t row, RowInput &input)>;
    // A cell as the file holds it, for a quick look at a few columns of every row;
    // empty beyond the row's last cell.
    using CellText = std::function<std::string_view(std::size_t row, std::size_t column)>;
    // `columns` tells where the header has the mode's columns. False when `cancel`
    // was set.
    using Link = bool (*)(std::size_t rows, const ColumnMap &columns, const CellText &cell,
                          const ReadRow &read, std::vector<RowContext> &contexts,
                          const std::atomic<bool> *cancel);
    Link Pass;
};

}  // namespace taxcalc
