// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/summary_line.h"

#include <QLabel>

#include "payroll/payroll_model.h"
#include "payroll/row_marks.h"
#include "payroll/yuan_text.h"

namespace taxcalc {

SummaryLine::SummaryLine(PayrollModel *model, QLabel *summary) : m_model(model), m_summary(summary) {}

void SummaryLine::showSummary(bool tableOpen, const QString &modeTitle, bool busy) {
    const std::shared_ptr<const PayrollOutcomes> &outcomes = m_model->outcomes();
    if (!outcomes) {
        m_summary->setText(tableOpen ? QStringLiteral("这张表不能按“%1”计算。").arg(modeTitle)
                                     : QStringLiteral("打开工资表（文件 → 打开，或把文件拖到窗口上），"
                                                      "每一行的个税、盲区和建议都会算出来。"));
        return;
    }
    if (!outcomes->RowsComputed()) {
        m_summary->setText(
            busy ? QStringLiteral("共 %1 行 · 正在计算合计…").arg(GroupedCount(outcomes->Table().Rows()))
                 : QStringLiteral("共 %1 行 · 合计未算完（已取消）")
                       .arg(GroupedCount(outcomes->Table().Rows())));
        return;
    }
    m_summary->setText(
        Totals(outcomes->Summary(),
               outcomes->Advises() ? RowMarkName(RowState::Advised, outcomes->Computing().Kind()) : QString(),
               outcomes->Settles()));
}

QString SummaryLine::Totals(const PayrollSummary &s, const QString &advisedName, bool settles) {
    QString text =
        QStringLiteral("共 %1 行 · 未能计算 %2 行").arg(GroupedCount(s.Rows)).arg(GroupedCount(s.Refused));
    const bool advises = !advisedName.isEmpty();
    if (advises) {
        text += QStringLiteral(" · %1 %2 行").arg(advisedName).arg(GroupedCount(s.Advised));
    }
    if (s.TooLarge) {
        text += QStringLiteral(" · 有数额过大，无法合计");
    } else {
        text += QStringLiteral(" · 个税合计 %1 元").arg(GroupedYuan(s.Tax));
        if (advises) {
            text += QStringLiteral(" · 全部按建议调整可少缴个税 %1 元").arg(GroupedYuan(s.Saving));
        }
        if (s.LatestMonth != 0) {
            text += QStringLiteral(" · %1年%2月预扣 %3 元")
                        .arg(s.LatestMonth / 100)
                        .arg(s.LatestMonth % 100)
                        .arg(GroupedYuan(s.LatestWithheld));
        }
        if (settles) {
            text += QStringLiteral(" · 应补税合计 %1 元 · 应退税合计 %2 元")
                        .arg(GroupedYuan(s.Payments), GroupedYuan(s.Refunds));
        }
    }
    return text;
}

}  // namespace taxcalc
