// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/progress_meter.h"

#include <algorithm>
#include <cinttypes>

namespace taxcalc {
namespace {

constexpr auto kFirstDraw = std::chrono::milliseconds(500);
constexpr auto kRedraw = std::chrono::milliseconds(200);
constexpr const char *kWipe = "\r\x1b[K";

}  // namespace

ProgressMeter::ProgressMeter(std::FILE *terminal, std::uint64_t totalBytes)
    : m_terminal(terminal), m_totalBytes(totalBytes), m_nextDraw(Clock::now() + kFirstDraw) {}

void ProgressMeter::Update(std::uint64_t bytesRead, std::uint64_t rows) {
    const Clock::time_point now = Clock::now();
    if (now < m_nextDraw) {
        return;
    }
    m_nextDraw = now + kRedraw;
    m_shown = true;
    std::fprintf(m_terminal, "%staxcalc-batch: 已处理 %" PRIu64 " 行", kWipe, rows);
    if (m_totalBytes > 0) {
        // Reading runs a chunk ahead of the rows written.
        const std::uint64_t percent = std::min<std::uint64_t>(bytesRead, m_totalBytes) * 100 / m_totalBytes;
        std::fprintf(m_terminal, "（%" PRIu64 "%%）", percent);
    }
    std::fflush(m_terminal);
}

void ProgressMeter::Clear() {
    if (m_shown) {
        std::fputs(kWipe, m_terminal);
        std::fflush(m_terminal);
        m_shown = false;
    }
}

}  // namespace taxcalc
