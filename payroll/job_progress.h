// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QProgressBar;
class QTimer;

namespace taxcalc {

class PayrollJob;

// The progress bar while a job runs: what the job does, how far it is, and, once a
// large file has shown how fast it goes, the time left; looked at ten times a second.
class JobProgress : public QObject {
    Q_OBJECT

public:
    JobProgress(PayrollJob *job, QProgressBar *progress, QObject *parent = nullptr);

    // From the start of a job, and from its end.
    void start();
    void stop();

    // "12 秒", "3 分 05 秒"
    static QString Duration(qint64 seconds);
    // " · 约剩 …" once a phase has run for a second and done a hundredth of its
    // work, and until it is done; else nothing.
    static QString TimeLeft(qint64 elapsedMs, int permille);

private:
    void showProgress();

    PayrollJob *m_job;
    QProgressBar *m_progress;
    QTimer *m_progressTimer;
    // For the time left: when the phase shown began.
    QElapsedTimer m_phaseClock;
    int m_phaseShown = -1;
};

}  // namespace taxcalc
