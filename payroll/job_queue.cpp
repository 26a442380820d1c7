// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/job_queue.h"

namespace taxcalc {

void JobQueue::askOpen(const QString &path) {
    m_pendingOpen = path;
    m_pendingCompute = false;
}

void JobQueue::askCompute() {
    m_pendingCompute = true;
}

void JobQueue::clear() {
    m_pendingOpen.reset();
    m_pendingCompute = false;
}

JobQueue::Next JobQueue::takeNext(QString &path) {
    if (m_pendingOpen) {
        path = *m_pendingOpen;
        m_pendingOpen.reset();
        return Next::Open;
    }
    if (m_pendingCompute) {
        m_pendingCompute = false;
        return Next::Compute;
    }
    return Next::Nothing;
}

}  // namespace taxcalc
