// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/chart_chooser.h"

#include <QItemSelectionModel>
#include <QStackedWidget>

#include "payroll/bonus_chart.h"
#include "payroll/figures_chart.h"
#include "payroll/payroll_model.h"
#include "payroll/payroll_table_view.h"
#include "paysheet/bonus_curve.h"
#include "ui/utf8_text.h"

namespace taxcalc {
namespace {

constexpr int kChartSamples = 480;

}  // namespace

ChartChooser::ChartChooser(PayrollModel *model, PayrollTableView *view, QWidget *parent, QObject *owner)
    : QObject(owner), m_model(model), m_view(view) {
    m_charts = new QStackedWidget(parent);
    m_chart = new BonusChart(m_charts);
    m_chart->setObjectName(QStringLiteral("bonusChart"));
    m_figures = new FiguresChart(m_charts);
    m_figures->setObjectName(QStringLiteral("figuresChart"));
    m_charts->addWidget(m_chart);
    m_charts->addWidget(m_figures);
}

void ChartChooser::selectionChanged() {
    const std::shared_ptr<const PayrollOutcomes> &outcomes = m_model->outcomes();
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    if (!outcomes || !current.isValid()) {
        m_charts->setCurrentWidget(m_chart);
        m_chart->clearCurve(QStringLiteral("选中一行年终奖，这里画出它附近的税后年终奖曲线。"));
        return;
    }
    const std::size_t row = m_model->tableRow(current.row());
    const QString line = QString::number(outcomes->Table().Line(row));
    if (outcomes->Computing().Kind() == BatchMode::Withhold) {
        m_charts->setCurrentWidget(m_figures);
        if (const std::optional<PayrollOutcomes::EmployeeYear> year = outcomes->Year(row)) {
            m_figures->setYear(*year, row);
        } else {
            m_figures->clearFigures(QStringLiteral("第 %1 行不属于哪位员工的哪个月，未能计算。").arg(line));
        }
        return;
    }
    if (outcomes->Settles()) {
        m_charts->setCurrentWidget(m_figures);
        if (const std::optional<PayrollOutcomes::Settled> settled = outcomes->Settlement(row)) {
            m_figures->setSettlement(*settled);
        } else {
            m_figures->clearFigures(QStringLiteral("第 %1 行没有算出全年税额。").arg(line));
        }
        return;
    }
    m_charts->setCurrentWidget(m_chart);
    PayrollOutcomes::CurveRefusal why{};
    std::optional<BonusCurve> curve = outcomes->Curve(row, kChartSamples, why);
    if (!curve) {
        switch (why) {
            case PayrollOutcomes::CurveRefusal::NotBonus:
                m_chart->clearCurve(QStringLiteral("图表画的是年终奖；选“年终奖”计算时显示。"));
                break;
            case PayrollOutcomes::CurveRefusal::NoFigures:
                m_chart->clearCurve(QStringLiteral("第 %1 行没有算出年终奖。").arg(line));
                break;
            case PayrollOutcomes::CurveRefusal::TooLarge:
                m_chart->clearCurve(QStringLiteral("第 %1 行的数额过大，画不出来。").arg(line));
                break;
        }
        return;
    }
    m_chart->setCurve(std::move(*curve),
                      QStringLiteral("%1 年规则").arg(FromUtf8(outcomes->Computing().Period().Name)));
}

}  // namespace taxcalc
