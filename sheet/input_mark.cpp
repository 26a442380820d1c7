// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/input_mark.h"

#include <sys/stat.h>
#include <unistd.h>

namespace taxcalc {

InputMark::InputMark(std::FILE *input) noexcept : m_input(input) {
    const int descriptor = fileno(input);
    if (descriptor < 0 || lseek(descriptor, 0, SEEK_CUR) < 0) {
        return;
    }
    m_at = ftello(input);
    struct stat status {};
    m_regular = m_at >= 0 && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

bool InputMark::Return() const noexcept {
    return m_at >= 0 && fseeko(m_input, m_at, SEEK_SET) == 0;
}

}  // namespace taxcalc
