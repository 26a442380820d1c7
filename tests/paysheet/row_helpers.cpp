// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/paysheet/row_helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace taxcalc::test {

RowCalculator CalculatorFor(BatchMode mode, const std::vector<std::string> &header,
                            const PeriodRules *rules) {
    std::string error;
    std::optional<RowCalculator> calculator =
        RowCalculator::ForHeader(*Computation::Resolve(mode, rules), RecordOf(header), error);
    if (!calculator) {
        ADD_FAILURE() << error;
        std::abort();
    }
    return std::move(*calculator);
}

bool ComputeRow(const RowCalculator &calculator, const std::vector<std::string> &texts, RowFigures &figures) {
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    return calculator.Compute(std::span<const std::string_view>(views), figures);
}

std::vector<std::string> Computed(const RowCalculator &calculator, const RowFigures &figures) {
    return {figures.Cells.begin(), figures.Cells.begin() + static_cast<long>(calculator.Width())};
}

}  // namespace taxcalc::test
