// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>

#include <optional>

namespace taxcalc {

// Work asked for while other work ran, to start once it ends: a file to open, the
// rows to compute again. The latest file wins; a file asked for drops a computing
// asked before it, as the file is computed under the mode then chosen.
class JobQueue {
public:
    enum class Next { Nothing, Open, Compute };

    void askOpen(const QString &path);
    void askCompute();
    // Nothing waits any more: the user cancelled, or the window closes.
    void clear();
    // Whether nothing waits.
    bool empty() const noexcept { return !m_pendingOpen && !m_pendingCompute; }
    // Takes what should start now out of the queue; the file to open in `path`.
    Next takeNext(QString &path);

private:
    std::optional<QString> m_pendingOpen;
    bool m_pendingCompute = false;
};

}  // namespace taxcalc
