// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "paysheet/computation.h"
#include "paysheet/payroll_outcomes.h"
#include "paysheet/payroll_table.h"

#include <QThread>

namespace taxcalc {

// The window's long work, one piece at a time on a thread of its own: reading a
// file and computing it, computing a table again under another mode, saving. The
// window polls progress() on a timer and hears finished() when the work is over;
// cancel() stops reading or computing at the core's next check, within a few
// thousand rows.
class PayrollJob : public QObject {
    Q_OBJECT

public:
    enum class Kind { Open, Compute, Save };
    enum class Phase { Reading, Computing, Saving };

    struct Result {
        Kind What = Kind::Open;
        bool Cancelled = false;
        // The file reads as well in UTF-8 as in GB18030: open it again with one named.
        bool Unsettled = false;
        QString Error;  // empty when the work succeeded or was cancelled
        QString Path;
        std::shared_ptr<const PayrollTable> Table;
        std::shared_ptr<const PayrollOutcomes> Outcomes;
    };

    explicit PayrollJob(QObject *parent = nullptr);
    ~PayrollJob() override;

    bool busy() const noexcept { return m_thread != nullptr; }

    // Each starts only when no work runs.
    // `encoding` as the user named it; Undecided finds it from the file.
    void open(const QString &path, const Computation &computation,
              TextEncoding encoding = TextEncoding::Undecided);
    void compute(std::shared_ptr<const PayrollTable> table, const Computation &computation);
    void save(std::shared_ptr<const PayrollOutcomes> outcomes, const QString &path);
    void cancel() noexcept { m_cancel = true; }

    Phase phase() const noexcept { return m_phase.load(); }
    // Parts done of the phase, from 0 to 1000; -1 while the size is unknown.
    int permille() const noexcept;
    // The rows read so far while reading a file.
    std::uint64_t rowsRead() const noexcept { return m_rowsRead.load(); }

    // The result of the work that finished last.
    Result takeResult() { return std::move(m_result); }
    // The rows as soon as they can be shown, before every row is computed: what
    // previewReady() announced.
    std::shared_ptr<const PayrollOutcomes> takePreview();

signals:
    // Emitted from the work's thread; reaches the window through its event loop.
    void previewReady();
    void finished();

private:
    void start(Kind kind, std::function<void(Result &)> work);
    void collect();
    // Reads progress for the table's and the outcomes' callbacks.
    void report(std::uint64_t done, std::uint64_t total) noexcept;
    // Shows the table's rows at once, then computes every row; fills the result.
    void computeRows(std::shared_ptr<const PayrollTable> table, const Computation &computation,
                     Result &result);

    // Set while work runs; the thread is joined before it goes.
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<Phase> m_phase{Phase::Reading};
    std::atomic<std::uint64_t> m_done{0};
    std::atomic<std::uint64_t> m_total{0};
    std::atomic<std::uint64_t> m_rowsRead{0};
    Result m_result;
    std::mutex m_previewLock;
    std::shared_ptr<const PayrollOutcomes> m_preview;
};

}  // namespace taxcalc
