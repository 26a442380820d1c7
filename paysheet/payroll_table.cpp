// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/payroll_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "sheet/record_source.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_reader.h"

namespace taxcalc {
namespace {

using WideEnd = std::uint32_t;
using NarrowEnd = std::uint16_t;

std::size_t EndSize(bool wide) noexcept {
    return wide ? sizeof(WideEnd) : sizeof(NarrowEnd);
}

std::size_t EndAt(const char *ends, std::size_t index, bool wide) noexcept {
    if (wide) {
        WideEnd end;
        std::memcpy(&end, ends + index * sizeof end, sizeof end);
        return end;
    }
    NarrowEnd end;
    std::memcpy(&end, ends + index * sizeof end, sizeof end);
    return end;
}

// A block of the table's text, on huge pages where the system offers them: a million
// rows fill a few hundred megabytes, and faulting them in 4 KiB at a time costs a
// tenth of the whole run.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

char *NewBlock(std::size_t size) {
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    void *block = std::aligned_alloc(kHugePage, rounded);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    madvise(block, rounded, MADV_HUGEPAGE);
    return static_cast<char *>(block);
}

}  // namespace

void PayrollTable::BlockFree::operator()(char *block) const noexcept {
    std::free(block);
}

PayrollTable::Status PayrollTable::Read(std::FILE *input, std::string &error, const Progress &progress,
                                        const std::atomic<bool> *cancel, InputForm form) {
    const std::unique_ptr<RecordSource> source = OpenRecordSource(input, error, form);
    if (!source) {
        return Status::Failed;
    }
    SheetReader reader(*source, [this](std::string_view note) { m_notes.append(note).append("\n"); });
    if (reader.ReadHeader(m_header, error) == SheetReader::Status::Failed) {
        return reader.EncodingUnsettled() ? Status::Unsettled : Status::Failed;
    }
    return ReadRows(reader, m_header, error, progress, cancel);
}

PayrollTable::Status PayrollTable::ReadRows(SheetReader &reader, const CsvRecord &header, std::string &error,
                                            const Progress &progress, const std::atomic<bool> *cancel) {
    if (&header != &m_header) {
        m_header = header;
    }
    m_leadingBlank = reader.LeadingBlank();
    CsvRecord record;
    std::string escaped;
    SheetReader::Status status;
    while ((status = reader.ReadRow(record, escaped, error)) == SheetReader::Status::Record) {
        Append(record, escaped);
        if (m_rows.size() % kProgressEvery == 0) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                return Status::Cancelled;
            }
            if (progress) {
                progress(reader.BytesRead(), m_rows.size());
            }
        }
    }
    if (status == SheetReader::Status::Failed) {
        return reader.EncodingUnsettled() ? Status::Unsettled : Status::Failed;
    }
    if (progress) {
        progress(reader.BytesRead(), m_rows.size());
    }
    m_encoding = reader.Encoding();
    return Status::Done;
}

void PayrollTable::Append(const CsvRecord &record, std::string_view escaped) {
    const std::uint32_t count = static_cast<std::uint32_t>(record.Size());
    const bool kinds = !record.Kinds.empty();
    const std::size_t kindBytes = kinds ? count : 0;
    const bool wide = record.Text.size() > std::numeric_limits<NarrowEnd>::max();
    const std::size_t endSize = EndSize(wide);
    const std::size_t bytes = sizeof count + count * endSize + kindBytes + record.Text.size();
    if (m_blockCapacity - m_blockUsed < bytes) {
        // A record is at most a mebibyte (the reader's limit), so a block of its own
        // is needed only for the rare record larger than a block.
        m_blockCapacity = std::max(kBlockSize, bytes);
        m_blocks.emplace_back(NewBlock(m_blockCapacity));
        m_blockUsed = 0;
    }
    char *start = m_blocks.back().get() + m_blockUsed;
    std::memcpy(start, &count, sizeof count);
    char *ends = start + sizeof count;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (wide) {
            const WideEnd end = static_cast<WideEnd>(record.Ends[i]);
            std::memcpy(ends + i * sizeof end, &end, sizeof end);
        } else {
            const NarrowEnd end = static_cast<NarrowEnd>(record.Ends[i]);
            std::memcpy(ends + i * sizeof end, &end, sizeof end);
        }
    }
    char *kindsAt = ends + count * endSize;
    for (std::size_t i = 0; i < kindBytes; ++i) {
        kindsAt[i] = static_cast<char>(record.Kind(i));
    }
    if (!record.Text.empty()) {
        std::memcpy(kindsAt + kindBytes, record.Text.data(), record.Text.size());
    }
    RowEntry entry{};
    entry.Line = record.Line;
    entry.Escaped = escaped.empty() ? 0 : 1;
    entry.Kinds = kinds ? 1 : 0;
    entry.WideEnds = wide ? 1 : 0;
    if (!escaped.empty()) {
        m_escaped.emplace_back(m_rows.size(), std::string(escaped));
    }
    entry.Block = static_cast<std::uint32_t>(m_blocks.size() - 1);
    entry.Offset = static_cast<std::uint32_t>(m_blockUsed);
    m_rows.push_back(entry);
    m_blockUsed += bytes;
}

void PayrollTable::Row(std::size_t row, CsvRecord &record) const {
    const RowEntry &entry = m_rows[row];
    const char *start = Start(entry);
    std::uint32_t count;
    std::memcpy(&count, start, sizeof count);
    const char *ends = start + sizeof count;
    const bool wide = entry.WideEnds != 0;
    record.Clear();
    record.Line = entry.Line;
    record.Ends.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        record.Ends[i] = EndAt(ends, i, wide);
    }
    const char *kinds = ends + count * EndSize(wide);
    const std::size_t kindBytes = entry.Kinds != 0 ? count : 0;
    for (std::size_t i = 0; i < kindBytes; ++i) {
        record.Kinds.push_back(static_cast<CellKind>(kinds[i]));
    }
    const std::size_t size = count == 0 ? 0 : record.Ends.back();
    record.Text.assign(kinds + kindBytes, size);
}

std::string_view PayrollTable::Escaped(std::size_t row) const noexcept {
    if (m_rows[row].Escaped == 0) {
        return {};
    }
    const auto found =
        std::lower_bound(m_escaped.begin(), m_escaped.end(), row,
                         [](const auto &entry, std::size_t wanted) { return entry.first < wanted; });
    return found->second;
}

std::string_view PayrollTable::Cell(std::size_t row, std::size_t column) const noexcept {
    const RowEntry &entry = m_rows[row];
    const char *start = Start(entry);
    std::uint32_t count;
    std::memcpy(&count, start, sizeof count);
    if (column >= count) {
        return {};
    }
    const bool wide = entry.WideEnds != 0;
    const char *ends = start + sizeof count;
    const std::size_t begin = column == 0 ? 0 : EndAt(ends, column - 1, wide);
    const std::size_t kindBytes = entry.Kinds != 0 ? count : 0;
    return {ends + count * EndSize(wide) + kindBytes + begin, EndAt(ends, column, wide) - begin};
}

}  // namespace taxcalc
