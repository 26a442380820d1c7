// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/job_progress.h"

#include <QProgressBar>
#include <QTimer>

#include "payroll/payroll_job.h"
#include "payroll/yuan_text.h"

namespace taxcalc {

JobProgress::JobProgress(PayrollJob *job, QProgressBar *progress, QObject *parent)
    : QObject(parent), m_job(job), m_progress(progress), m_progressTimer(new QTimer(this)) {
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &JobProgress::showProgress);
}

void JobProgress::start() {
    m_progress->setValue(0);
    m_phaseClock.invalidate();
    showProgress();
    m_progressTimer->start();
}

void JobProgress::stop() {
    m_progressTimer->stop();
}

QString JobProgress::Duration(qint64 seconds) {
    if (seconds < 60) {
        return QStringLiteral("%1 秒").arg(seconds);
    }
    return QStringLiteral("%1 分 %2 秒").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString JobProgress::TimeLeft(qint64 elapsedMs, int permille) {
    if (permille >= 10 && permille < 1000 && elapsedMs >= 1000) {
        const qint64 left = (elapsedMs * (1000 - permille) / permille + 999) / 1000;
        return QStringLiteral(" · 约剩 %1").arg(Duration(left));
    }
    return {};
}

void JobProgress::showProgress() {
    const int permille = m_job->permille();
    if (permille < 0) {
        m_progress->setRange(0, 0);
    } else {
        m_progress->setRange(0, 1000);
        m_progress->setValue(permille);
    }
    const PayrollJob::Phase phase = m_job->phase();
    if (static_cast<int>(phase) != m_phaseShown || !m_phaseClock.isValid()) {
        m_phaseShown = static_cast<int>(phase);
        m_phaseClock.start();
    }
    QString format;
    switch (phase) {
        case PayrollJob::Phase::Reading:
            format = m_job->rowsRead() > 0 ? QStringLiteral("读取 %1 行").arg(GroupedCount(m_job->rowsRead()))
                                           : QStringLiteral("读取 %p%");
            break;
        case PayrollJob::Phase::Computing:
            format = QStringLiteral("计算 %p%");
            break;
        case PayrollJob::Phase::Saving:
            format = QStringLiteral("保存 %p%");
            break;
    }
    // The time left, once a large file has shown how fast it goes.
    format += TimeLeft(m_phaseClock.elapsed(), permille);
    m_progress->setFormat(format);
}

}  // namespace taxcalc
