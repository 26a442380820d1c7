// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The columns that tell whose a row is, in a file of any mode: a mode that links one
// person's rows reads them as its inputs, and the window shows them first of a row
// and finds rows by them.
#pragma once

#include <array>

#include "paysheet/mode_description.h"

namespace taxcalc {

inline constexpr InputColumn kIdNumberColumn{"证件号码", "id_number", ColumnDefault::Optional,
                                             Applies::Always, Field::Text};
inline constexpr InputColumn kEmployeeIdColumn{"工号", "employee_id", ColumnDefault::Optional,
                                               Applies::Always, Field::Text};
inline constexpr InputColumn kNameColumn{"姓名", "name", ColumnDefault::Optional, Applies::Always,
                                         Field::Text};

// What the window shows of a row and finds rows by, in this order.
inline constexpr std::array<InputColumn, 2> kShownPersonColumns{kEmployeeIdColumn, kNameColumn};

}  // namespace taxcalc
