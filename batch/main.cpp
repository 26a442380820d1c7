// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_help.h"
#include "batch/batch_processor.h"
#include "batch/command_line.h"
#include "batch/progress_meter.h"
#include "batch/rules_listing.h"
#include "sheet/output_file.h"
#include "sheet/record_sink.h"
#include "sheet/record_source.h"
#include "sheet/sheet_files.h"
#include "sheet/system_error.h"

namespace {

void Complain(const std::string &message) {
    std::fprintf(stderr, "taxcalc-batch: %s\n", message.c_str());
}

std::uint64_t SizeOfRegularFile(std::FILE *file) {
    struct stat status {};
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode)) {
        return static_cast<std::uint64_t>(status.st_size);
    }
    return 0;
}

// Whether the output names the very file that is being read, under any name.
bool IsTheInput(std::FILE *input, const std::string &output) {
    struct stat in {};
    struct stat out {};
    return output != "-" && fstat(fileno(input), &in) == 0 && stat(output.c_str(), &out) == 0 &&
           S_ISREG(in.st_mode) && in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

// The year of today's date, in local time.
int CurrentTaxYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace taxcalc;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    std::string error;
    const std::optional<CommandLine> line = CommandLine::Parse(arguments, error);
    if (!line) {
        std::string modes;
        for (const ModeDescription *mode : OfferedModes()) {
            modes.append(modes.empty() ? "" : "|").append(mode->Name);
        }
        Complain(error + "\n用法 / usage: taxcalc-batch " + modes +
                 " [--rules PERIOD] [IN.csv] [-o OUT.csv] [options]   (--help)");
        return kUnusable;
    }
    if (line->What == CommandLine::Action::Help) {
        const std::string help = line->Topic != nullptr ? line->Topic->Help() : std::string(BatchHelpText());
        std::fwrite(help.data(), 1, help.size(), stdout);
        return kAllComputed;
    }
    if (line->What == CommandLine::Action::Rules) {
        const std::string listing = RulesListing(line->RulesYear.value_or(CurrentTaxYear()));
        std::fwrite(listing.data(), 1, listing.size(), stdout);
        return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? kAllComputed : kUnusable;
    }
    if (line->What == CommandLine::Action::Version) {
        std::printf("taxcalc-batch %s\n", TAXCALC_VERSION);
        return kAllComputed;
    }

    // A closed pipe (standard error into head) or the file size limit makes a write
    // fail, which the run reports, instead of killing it half way.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);

    std::FILE *input = stdin;
    if (line->Input != "-") {
        input = std::fopen(line->Input.c_str(), "rb");
        if (input == nullptr) {
            Complain("无法打开输入文件 " + line->Input + "：" + SystemErrorText(errno));
            return kUnusable;
        }
    }
    if (!line->InPlace && IsTheInput(input, line->Output)) {
        Complain("输出文件 " + line->Output + " 就是输入文件：写回会替换原件；确要写回请用 --in-place");
        return kUnusable;
    }
    // Written back as one plain sheet, a workbook would lose whatever else it holds.
    if (line->InPlace) {
        std::vector<std::string> lost;
        if (!OverwriteLosses(line->Input, lost, error)) {
            Complain(error);
            return kUnusable;
        }
        if (!lost.empty()) {
            std::string items;
            for (const std::string &item : lost) {
                items.append(items.empty() ? "" : "、").append(item);
            }
            Complain("写回 " + line->Input + " 会丢失其中的" + items + "，没有写回；请用 -o 写到另一个文件");
            return kUnusable;
        }
    }
    const std::unique_ptr<RecordSource> source =
        OpenRecordSource(input, error, {line->Encoding, line->Separator, BatchProcessor::kEncodingNamedBy});
    if (!source) {
        Complain(error);
        return kUnusable;
    }
    // The content decides how the input is read; the name decides what is written.
    OutputFile output;
    std::unique_ptr<RecordSink> sink = OpenRecordSink(output, line->Output, error);
    if (!sink) {
        Complain(error);
        return kUnusable;
    }

    BatchProcessor processor(*line->Computing, *source, *sink, stderr);
    std::optional<ProgressMeter> meter;
    if (isatty(STDERR_FILENO) == 1) {
        meter.emplace(stderr, SizeOfRegularFile(input));
        processor.OnProgress(
            [&meter](std::uint64_t bytes, std::uint64_t rows) { meter->Update(bytes, rows); },
            [&meter] { meter->Clear(); });
    }
    const int status = processor.Run();
    if (meter) {
        meter->Clear();
    }
    if (status == kUnusable) {
        sink.reset();
        output.Abandon();
        return kUnusable;
    }
    // Columns of the user's own that carry the names of this run's would be replaced
    // by its results, and the only copy of their values is in the input.
    if (line->InPlace && !processor.UsersColumns().empty()) {
        output.Abandon();
        Complain("写回 " + line->Input + " 会丢失其中的列" + processor.UsersColumns() +
                 "（与计算结果的列同名，但不是本程序写的），没有写回；请用 -o 写到另一个文件");
        return kUnusable;
    }
    // The escaped bytes are all that is left of what those rows held: the original
    // must stay.
    if (line->InPlace && processor.Counts().Escaped > 0) {
        output.Abandon();
        Complain("有 " + std::to_string(processor.Counts().Escaped) +
                 " 行含有无法解码的字节，为免丢失原件，没有写回 " + line->Input +
                 "；请用 -o 写到另一个文件，或用 --encoding 指定编码");
        return kUnusable;
    }
    if (!output.Commit(error)) {
        Complain(error);
        return kUnusable;
    }
    return status;
}
