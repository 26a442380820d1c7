// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string>
#include <vector>

#include "paysheet/computation.h"
#include "paysheet/payroll_table.h"

namespace taxcalc {

// Whether a computed payroll may be saved over a file that exists, and what that
// would lose, as taxcalc-batch decides for --in-place: never over a workbook whose
// other content would be lost, never over the file that was read when the only copy
// of undecodable bytes is in it, and over the file that was read only when the user
// asks for exactly that, told what changes.
class OverwriteCheck {
public:
    enum class Verdict {
        Replace,       // another file: the user confirms replacing it
        ReplaceInput,  // the file that was read: the user confirms, told what changes
        Refuse,        // never: Lost says why
    };

    // `target` exists; `input` is the file the table was read from (empty when none),
    // to be saved as computed under `computation`, whose results replace the input's
    // columns of their names: never over the input where a column of those names is
    // the user's own (see RowEvaluator::UsersColumns). Fails, saying why in `error`,
    // when the target cannot be looked at.
    static bool Judge(const PayrollTable &table, const Computation &computation, const std::string &input,
                      const std::string &target, Verdict &verdict, std::vector<std::string> &lost,
                      std::string &error);
};

}  // namespace taxcalc
