// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_processor.h"
#include "batch/command_line.h"
#include "batch/output_file.h"
#include "batch/progress_meter.h"

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

}  // namespace

int main(int argc, char **argv) {
    using namespace taxcalc;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    std::string error;
    const std::optional<CommandLine> line = CommandLine::Parse(arguments, error);
    if (!line) {
        Complain(
            error +
            "\n用法 / usage: taxcalc-batch bonus|wage [--rules PERIOD] [IN.csv] [-o OUT.csv]   (--help)");
        return kUnusable;
    }
    if (line->What == CommandLine::Action::Help) {
        const std::string_view help = CommandLine::HelpText();
        std::fwrite(help.data(), 1, help.size(), stdout);
        return kAllComputed;
    }
    if (line->What == CommandLine::Action::Version) {
        std::printf("taxcalc-batch %s\n", TAXCALC_VERSION);
        return kAllComputed;
    }

    std::FILE *input = stdin;
    if (line->Input != "-") {
        input = std::fopen(line->Input.c_str(), "rb");
        if (input == nullptr) {
            Complain("无法打开输入文件 " + line->Input + "：" + std::strerror(errno));
            return kUnusable;
        }
    }
    OutputFile output;
    if (!output.Open(line->Output, error)) {
        Complain(error);
        return kUnusable;
    }

    BatchProcessor processor(line->Mode, input, output.Stream(), stderr, line->Rules);
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
        output.Abandon();
        return kUnusable;
    }
    if (!output.Commit(error)) {
        Complain(error);
        return kUnusable;
    }
    return status;
}
