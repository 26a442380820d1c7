// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_job.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "sheet/output_file.h"
#include "sheet/record_sink.h"
#include "sheet/sheet_files.h"
#include "sheet/system_error.h"
#include "ui/utf8_text.h"

namespace taxcalc {
namespace {

QString Text(const std::string &message) {
    return FromUtf8(message);
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

}  // namespace

PayrollJob::PayrollJob(QObject *parent) : QObject(parent) {}

PayrollJob::~PayrollJob() {
    if (m_thread) {
        cancel();
        m_thread->wait();
    }
}

int PayrollJob::permille() const noexcept {
    const std::uint64_t total = m_total.load();
    if (total == 0) {
        return -1;
    }
    return static_cast<int>(std::min<std::uint64_t>(m_done.load(), total) * 1000 / total);
}

void PayrollJob::report(std::uint64_t done, std::uint64_t total) noexcept {
    m_total = total;
    m_done = done;
}

void PayrollJob::start(Kind kind, std::function<void(Result &)> work) {
    if (m_thread) {
        return;
    }
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_rowsRead = 0;
    m_result = Result{};
    m_result.What = kind;
    m_thread.reset(QThread::create([this, work = std::move(work)] { work(m_result); }));
    connect(m_thread.get(), &QThread::finished, this, &PayrollJob::collect);
    m_thread->start();
}

void PayrollJob::collect() {
    // The thread has ended: what it wrote into m_result is ours now.
    m_thread->wait();
    m_thread.reset();
    emit finished();
}

void PayrollJob::open(const QString &path, const Computation &computation, TextEncoding encoding) {
    start(Kind::Open, [this, path, computation, encoding](Result &result) {
        result.Path = path;
        m_phase = Phase::Reading;
        const std::uint64_t size = static_cast<std::uint64_t>(std::max<qint64>(QFileInfo(path).size(), 0));
        const std::unique_ptr<std::FILE, FileCloser> input(
            std::fopen(QFile::encodeName(path).constData(), "rb"));
        if (!input) {
            result.Error =
                QStringLiteral("无法打开 %1：%2").arg(path, QString::fromStdString(SystemErrorText(errno)));
            return;
        }
        auto table = std::make_shared<PayrollTable>();
        std::string error;
        const PayrollTable::Status read = table->Read(
            input.get(), error,
            [this, size](std::uint64_t bytes, std::uint64_t rows) {
                m_rowsRead = rows;
                report(bytes, size);
            },
            &m_cancel, InputForm{.Encoding = encoding, .NamedBy = "按所选"});
        if (read != PayrollTable::Status::Done) {
            result.Cancelled = read == PayrollTable::Status::Cancelled;
            result.Unsettled = read == PayrollTable::Status::Unsettled;
            result.Error = Text(error);
            return;
        }
        result.Table = table;
        computeRows(std::move(table), computation, result);
    });
}

void PayrollJob::compute(std::shared_ptr<const PayrollTable> table, const Computation &computation) {
    start(Kind::Compute, [this, table, computation](Result &result) {
        result.Table = table;
        computeRows(table, computation, result);
    });
}

std::shared_ptr<const PayrollOutcomes> PayrollJob::takePreview() {
    const std::lock_guard lock(m_previewLock);
    return std::move(m_preview);
}

void PayrollJob::computeRows(std::shared_ptr<const PayrollTable> table, const Computation &computation,
                             Result &result) {
    m_phase = Phase::Computing;
    std::string error;
    const std::uint64_t total = table->Rows();
    std::optional<PayrollOutcomes> outcomes = PayrollOutcomes::Prepare(
        table, computation, error, [this, total](std::uint64_t done) { report(done, total); }, &m_cancel);
    if (!outcomes) {
        result.Cancelled = m_cancel.load();
        result.Error = result.Cancelled ? QString() : Text(error);
        return;
    }
    {
        const std::lock_guard lock(m_previewLock);
        m_preview = std::make_shared<const PayrollOutcomes>(*outcomes);
    }
    emit previewReady();
    const std::uint64_t rows = table->Rows();
    const PayrollOutcomes::Status computed =
        outcomes->ComputeRows([this, rows](std::uint64_t done) { report(done, rows); }, &m_cancel);
    result.Cancelled = computed == PayrollOutcomes::Status::Cancelled;
    if (!result.Cancelled) {
        result.Outcomes = std::make_shared<const PayrollOutcomes>(std::move(*outcomes));
    }
}

void PayrollJob::save(std::shared_ptr<const PayrollOutcomes> outcomes, const QString &path) {
    start(Kind::Save, [this, outcomes, path](Result &result) {
        result.Path = path;
        result.Outcomes = outcomes;
        // Rows whose computing was cancelled are computed here, and their totals kept:
        // the window shows them once the file is saved, instead of its cancelled ones.
        if (!outcomes->RowsComputed()) {
            m_phase = Phase::Computing;
            PayrollOutcomes whole = *outcomes;
            const std::uint64_t all = outcomes->Table().Rows();
            if (whole.ComputeRows([this, all](std::uint64_t done) { report(done, all); }, &m_cancel) !=
                PayrollOutcomes::Status::Done) {
                result.Cancelled = true;
                return;
            }
            result.Outcomes = std::make_shared<const PayrollOutcomes>(std::move(whole));
        }
        m_phase = Phase::Saving;
        // The name decides the format, as for taxcalc-batch.
        OutputFile output;
        std::string error;
        std::unique_ptr<RecordSink> sink =
            OpenRecordSink(output, QFile::encodeName(path).toStdString(), error);
        if (!sink) {
            result.Error = Text(error);
            return;
        }
        const std::uint64_t rows = outcomes->Table().Rows();
        const bool written = result.Outcomes->Write(
            *sink, error, [this, rows](std::uint64_t done) { report(done, rows); }, &m_cancel);
        sink.reset();
        if (!written || !output.Commit(error)) {
            output.Abandon();
            result.Cancelled = m_cancel.load();
            result.Error = result.Cancelled ? QString() : Text(error);
        }
    });
}

}  // namespace taxcalc
