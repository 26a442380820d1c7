// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

#include "sheet/xlsx_handles.h"

namespace taxcalc {

// Where an input stood before a reader looked ahead in it, to go back there: a file
// that can seek goes back by seeking; a pipe cannot, and the reader must give the
// bytes back itself (pushed back into the stream, or kept and read first).
class InputMark {
public:
    explicit InputMark(std::FILE *input) noexcept;

    // Whether Return() can work: the descriptor seeks.
    bool Seekable() const noexcept { return m_at >= 0; }
    // Whether the input is a regular file, which may be read to its end and again.
    bool Regular() const noexcept { return m_regular; }
    // Back to the mark; false, with errno set, where that failed.
    bool Return() const noexcept;

private:
    std::FILE *m_input;
    off_t m_at = -1;
    bool m_regular = false;
};

// A copy of an input that cannot seek (a pipe), read to its end into an unnamed
// temporary file and rewound, for a reader that must seek or open it by name.
// Nothing, saying why in `error`, where the copy fails.
StdioPtr SeekableCopy(std::FILE *input, std::string &error);

}  // namespace taxcalc
