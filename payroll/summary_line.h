// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>

#include "paysheet/payroll_outcomes.h"

class QLabel;

namespace taxcalc {

class PayrollModel;

// The line under the rows: what to do before a file is open, the rows and the
// totals of the shown outcomes once every row is computed, and why there are none.
class SummaryLine {
public:
    SummaryLine(PayrollModel *model, QLabel *summary);

    // `tableOpen`: a file is open; `modeTitle`: the chosen mode, for a table it
    // cannot compute; `busy`: a job runs, which may still compute the totals.
    void showSummary(bool tableOpen, const QString &modeTitle, bool busy);

    // The totals, as the line says them: `advisedName` is the name of the mark of
    // advised rows, empty where the mode advises nothing; `settles` where the mode
    // leaves payments and refunds.
    static QString Totals(const PayrollSummary &s, const QString &advisedName, bool settles);

private:
    PayrollModel *m_model;
    QLabel *m_summary;
};

}  // namespace taxcalc
