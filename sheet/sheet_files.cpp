// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/sheet_files.h"

#include <array>
#include <cerrno>
#include <cstring>

#include "sheet/csv_sink.h"
#include "sheet/csv_source.h"
#include "sheet/input_mark.h"
#include "sheet/output_file.h"
#include "sheet/system_error.h"
#include "sheet/utf8_bytes.h"
#include "sheet/workbook_survey.h"
#include "sheet/xls_reader.h"
#include "sheet/xlsx_handles.h"
#include "sheet/xlsx_reader.h"
#include "sheet/xlsx_writer.h"

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

// What a file holds, told by its first bytes.
enum class Content { Text, CompoundFile, Zip };

Content ContentOf(std::string_view start) noexcept {
    if (start.starts_with(kCompoundFileSignature)) {
        return Content::CompoundFile;
    }
    if (start.starts_with(kZipSignature) || start.starts_with(kEmptyZipSignature)) {
        return Content::Zip;
    }
    return Content::Text;
}

template <typename Reader>
std::unique_ptr<RecordSource> OpenWorkbook(std::FILE *input, std::string &error) {
    auto workbook = std::make_unique<Reader>();
    std::string reason;
    if (!workbook->Open(input, reason)) {
        error = Refusal(reason);
        return nullptr;
    }
    return workbook;
}

// Spreadsheet formats that a name's extension promises and that are not written:
// writing CSV or .xlsx under such a name would pass one format off as another.
constexpr std::array<std::string_view, 11> kUnwrittenExtensions{
    ".xls", ".xlsm", ".xlsb", ".xlt", ".xltx", ".xltm", ".ods", ".ots", ".fods", ".et", ".numbers"};

std::string_view UnwrittenExtension(std::string_view name) noexcept {
    for (const std::string_view extension : kUnwrittenExtensions) {
        if (name.size() > extension.size() &&
            EqualsIgnoringAsciiCase(name.substr(name.size() - extension.size()), extension)) {
            return extension;
        }
    }
    return {};
}

}  // namespace

std::unique_ptr<RecordSource> OpenRecordSource(std::FILE *input, std::string &error, InputForm form) {
    // Looks at the first bytes and gives them back: a seekable file goes back to its
    // start; a pipe gets them pushed back, in reverse order, into the stream's buffer
    // that they were just read from (glibc takes back more than one).
    const InputMark begin(input);
    std::array<char, kCompoundFileSignature.size()> head{};
    const std::size_t got = std::fread(head.data(), 1, head.size(), input);
    if (std::ferror(input) != 0) {
        error = std::string("无法读取输入：") + SystemErrorText(errno);
        return nullptr;
    }
    if (begin.Seekable()) {
        if (!begin.Return()) {
            error = std::string("无法读取输入：") + SystemErrorText(errno);
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
    switch (ContentOf(std::string_view(head.data(), got))) {
        case Content::CompoundFile:
            return OpenWorkbook<XlsReader>(input, error);
        case Content::Zip:
            return OpenWorkbook<XlsxReader>(input, error);
        case Content::Text:
            break;
    }
    return std::make_unique<CsvSource>(input, form);
}

std::unique_ptr<RecordSink> OpenRecordSink(OutputFile &output, const std::string &path, std::string &error) {
    const bool workbook = WantsXlsx(path);
    if (const std::string_view extension = UnwrittenExtension(path); !extension.empty()) {
        error = "不能写 " + std::string(extension) + "，请用 .xlsx 或 .csv";
        return nullptr;
    }
    if (!output.Open(path, error)) {
        return nullptr;
    }
    if (!workbook) {
        return std::make_unique<CsvSink>(output.Stream());
    }
    auto writer = std::make_unique<XlsxWriter>();
    if (!writer->Open(output.Path(), error)) {
        return nullptr;
    }
    return writer;
}

bool OverwriteLosses(const std::string &path, std::vector<std::string> &lost, std::string &error) {
    lost.clear();
    const StdioPtr file(std::fopen(path.c_str(), "rb"));
    std::array<char, kCompoundFileSignature.size()> head{};
    if (file == nullptr) {
        error = "无法打开 " + path + "：" + SystemErrorText(errno);
        return false;
    }
    const std::string_view start(head.data(), std::fread(head.data(), 1, head.size(), file.get()));
    if (std::ferror(file.get()) != 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        error = "无法读取 " + path + "：" + SystemErrorText(errno);
        return false;
    }
    switch (ContentOf(start)) {
        case Content::CompoundFile:
            lost.emplace_back(WantsXlsx(path) ? "Excel 97-2003 工作簿的格式"
                                              : "Excel 97-2003 工作簿的格式（写回的将是 CSV 文本）");
            return true;
        case Content::Zip:
            return WorkbookSurvey::Losses(file.get(), lost, error);
        case Content::Text:
            return true;
    }
    return true;
}

bool WantsXlsx(std::string_view name) noexcept {
    constexpr std::string_view kExtension = ".xlsx";
    return name.size() >= kExtension.size() &&
           EqualsIgnoringAsciiCase(name.substr(name.size() - kExtension.size()), kExtension);
}

}  // namespace taxcalc
