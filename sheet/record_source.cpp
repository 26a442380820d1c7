// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/record_source.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "sheet/csv_source.h"
#include "sheet/xlsx_reader.h"

namespace taxcalc {
namespace {

constexpr std::string_view kZipSignature = "PK\x03\x04";
// An empty archive has only its end record.
constexpr std::string_view kEmptyZipSignature = "PK\x05\x06";
constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

std::string Refusal(std::string_view what) {
    std::string message(what);
    message += "。";
    message += RecordSource::kReadableFormats;
    return message;
}

}  // namespace

std::unique_ptr<RecordSource> RecordSource::Open(std::FILE *input, std::string &error, InputForm form) {
    // Looks at the first bytes and gives them back: a seekable file goes back to its
    // start; a pipe gets them pushed back, in reverse order, into the stream's buffer
    // that they were just read from (glibc takes back more than one).
    const bool seekable = lseek(fileno(input), 0, SEEK_CUR) >= 0;
    const off_t begin = seekable ? ftello(input) : 0;
    std::array<char, kCompoundFileSignature.size()> head{};
    const std::size_t got = std::fread(head.data(), 1, head.size(), input);
    if (std::ferror(input) != 0) {
        error = std::string("无法读取输入：") + std::strerror(errno);
        return nullptr;
    }
    if (seekable) {
        if (fseeko(input, begin, SEEK_SET) != 0) {
            error = std::string("无法读取输入：") + std::strerror(errno);
            return nullptr;
        }
    } else {
        for (std::size_t i = got; i > 0; --i) {
            if (std::ungetc(static_cast<unsigned char>(head[i - 1]), input) == EOF) {
                error = "无法读取输入";
                return nullptr;
            }
        }
    }
    const std::string_view start(head.data(), got);
    if (start.starts_with(kCompoundFileSignature)) {
        error = Refusal("这是 .xls（旧版二进制格式）或加密的工作簿，不能读取；请另存为 .xlsx 或 CSV");
        return nullptr;
    }
    if (start.starts_with(kZipSignature) || start.starts_with(kEmptyZipSignature)) {
        auto workbook = std::make_unique<XlsxReader>();
        std::string reason;
        if (!workbook->Open(input, reason)) {
            error = Refusal(reason);
            return nullptr;
        }
        return workbook;
    }
    return std::make_unique<CsvSource>(input, form);
}

}  // namespace taxcalc
