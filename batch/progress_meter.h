// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace taxcalc {

// A one-line progress report on a terminal, rewritten in place. Nothing shows for a
// run that ends within half a second, and the line is redrawn at most five times a
// second.
class ProgressMeter {
public:
    // totalBytes is 0 when the input's size is unknown (a pipe); then no percentage.
    ProgressMeter(std::FILE *terminal, std::uint64_t totalBytes);

    void Update(std::uint64_t bytesRead, std::uint64_t rows);
    // Wipes the line, so that a message can take its place.
    void Clear();

private:
    using Clock = std::chrono::steady_clock;

    std::FILE *m_terminal;
    std::uint64_t m_totalBytes;
    Clock::time_point m_nextDraw;
    bool m_shown = false;
};

}  // namespace taxcalc
