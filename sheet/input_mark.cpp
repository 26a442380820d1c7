// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/input_mark.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "sheet/system_error.h"

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

StdioPtr SeekableCopy(std::FILE *input, std::string &error) {
    StdioPtr copy(std::tmpfile());
    if (copy == nullptr) {
        error = std::string("无法创建临时文件：") + SystemErrorText(errno);
        return nullptr;
    }
    std::vector<char> chunk(std::size_t{64} << 10);
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), input)) > 0;) {
        if (std::fwrite(chunk.data(), 1, got, copy.get()) != got) {
            error = std::string("无法写入临时文件：") + SystemErrorText(errno);
            return nullptr;
        }
    }
    if (std::ferror(input) != 0 || std::fflush(copy.get()) != 0) {
        error = std::string("读取输入失败：") + SystemErrorText(errno);
        return nullptr;
    }
    std::rewind(copy.get());
    return copy;
}

}  // namespace taxcalc
