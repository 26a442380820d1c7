// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// One row computed from its texts, as a file with a given header computes it.
#pragma once

#include <string>
#include <vector>

#include "paysheet/mode_description.h"
#include "paysheet/row_calculator.h"
#include "tests/sheet/sheet_streams.h"

namespace taxcalc::test {

// The calculator for a file with this header; fails the test if there is none.
RowCalculator CalculatorFor(BatchMode mode, const std::vector<std::string> &header,
                            const PeriodRules *rules = nullptr);
// The row from the texts of the mode's input figures, in the order of its inputs.
bool ComputeRow(const RowCalculator &calculator, const std::vector<std::string> &texts, RowFigures &figures);
// The cells that the row adds to the file.
std::vector<std::string> Computed(const RowCalculator &calculator, const RowFigures &figures);

}  // namespace taxcalc::test
