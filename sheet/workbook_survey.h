// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace taxcalc {

// What a workbook holds that a payroll written over it as one plain sheet would not
// keep: its other sheets, and of its first worksheet the formulas, merged cells,
// fills, fonts, borders, column widths and row heights of its own, hidden rows and
// columns, conditional formats, validations, links, pictures, charts and comments,
// tables, filters and protection. A bold header and the column widths that the
// sheet's own writer gives are kept, so a workbook that this program wrote loses
// nothing by being written again.
class WorkbookSurvey {
public:
    // Looks through the .xlsx workbook in `file` and says, one item each, what would be
    // lost (nothing for a workbook that loses nothing). False, saying why in `error`,
    // when the workbook cannot be read.
    static bool Losses(std::FILE *file, std::vector<std::string> &lost, std::string &error);
};

}  // namespace taxcalc
