// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Whole runs of the tool in memory.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_processor.h"
#include "paysheet/mode_description.h"
#include "tests/sheet/sheet_streams.h"

namespace taxcalc::test {

struct BatchRun {
    int Status;
    std::string Output;
    std::string Diagnostics;
    BatchCounts Counts;
};
BatchRun RunBatch(BatchMode mode, std::string_view input, const PeriodRules *rules = nullptr);
// A stream, unlike a file, cannot be read twice; it is read from memory here.
enum class Source { File, Stream };
BatchRun RunBatch(BatchMode mode, std::string_view input, InputForm form, Source source = Source::File);

// What bonus rows add, as the tool writes it: the headers, the figures of two
// bonuses (18001 in the blind zone, 18000 not) and a refused row's empty cells.
inline const std::string kBonusHeads =
    "2011年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,建议税后年终奖,2010方法个税,节省,错误";
inline const std::string k18001 = "1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,";
inline const std::string k18000 = "540.00,17460.00,否,,,,1775.00,1235.00,";
inline const std::string kNoFigures = ",,,,,,,,";

// The rows joined with CRLF after each, behind the UTF-8 byte order mark: what the
// tool writes.
std::string Sheet(const std::vector<std::string> &rows);

}  // namespace taxcalc::test
