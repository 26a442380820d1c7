// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Runs the batch core on arbitrary bytes, as a file and as a stream, with every
// input form. The first byte picks mode, encoding, separator and source; the rest
// is the input. Aborts when an input record has no output row, when rows change
// order or pass-through cells change, when a computed row lacks a figure, when a
// refused row shows one, or when the exit status disagrees with the rows.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_processor.h"
#include "paysheet/row_calculator.h"
#include "sheet/csv_reader.h"
#include "sheet/csv_record.h"
#include "sheet/text_decoder.h"

namespace taxcalc {
namespace {

[[noreturn]] void Fail(const char *what, std::size_t row) {
    std::fprintf(stderr, "batch_fuzzer: %s (row %zu)\n", what, row);
    std::abort();
}

struct Closer {
    void operator()(std::FILE *file) const {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};
using File = std::unique_ptr<std::FILE, Closer>;

// A regular file in memory, which can be read twice.
File RegularFileWith(std::string_view bytes) {
    const int descriptor = memfd_create("batch_fuzzer", 0);
    if (descriptor < 0 ||
        write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        lseek(descriptor, 0, SEEK_SET) != 0) {
        std::abort();
    }
    return File(fdopen(descriptor, "rb"));
}

// A stream without a descriptor, which cannot.
File StreamWith(std::string_view &rest) {
    cookie_io_functions_t functions{};
    functions.read = [](void *cookie, char *buffer, std::size_t size) -> ssize_t {
        auto &bytes = *static_cast<std::string_view *>(cookie);
        const std::size_t count = std::min(size, bytes.size());
        std::copy_n(bytes.data(), count, buffer);
        bytes.remove_prefix(count);
        return static_cast<ssize_t>(count);
    };
    return File(fopencookie(&rest, "rb", functions));
}

std::vector<CsvRecord> Records(std::FILE *file, char separator, CsvReader::Mark *mark = nullptr,
                               char *found = nullptr) {
    CsvReader reader(file, CsvReader::kDefaultRecordLimit, separator);
    std::vector<CsvRecord> records;
    CsvRecord record;
    while (reader.Read(record) == CsvReader::Status::Record) {
        records.push_back(record);
    }
    if (mark != nullptr) {
        *mark = reader.ByteOrderMark();
        *found = reader.Separator();
    }
    return records;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace taxcalc

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace taxcalc;
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view input(reinterpret_cast<const char *>(data + 1), size - 1);
    const BatchMode mode = (choice & 1) != 0 ? BatchMode::Wage : BatchMode::Bonus;
    constexpr TextEncoding kEncodings[] = {TextEncoding::Undecided, TextEncoding::Utf8, TextEncoding::Gb18030,
                                           TextEncoding::Undecided};
    constexpr char kSeparators[] = {0, ',', ';', '\t'};
    const InputForm form{kEncodings[(choice >> 1) & 3], kSeparators[(choice >> 3) & 3]};
    const bool stream = (choice & 0x20) != 0;

    std::string_view rest = input;
    const File in = stream ? StreamWith(rest) : RegularFileWith(input);
    char *outputBytes = nullptr;
    std::size_t outputSize = 0;
    File out(open_memstream(&outputBytes, &outputSize));
    static std::FILE *const discard = std::fopen("/dev/null", "w");
    BatchProcessor processor(*Computation::Resolve(mode), in.get(), out.get(), discard);
    processor.SetInputForm(form);
    const int status = processor.Run();
    std::fflush(out.get());
    const std::string output(outputBytes, outputSize);
    out.reset();
    std::free(outputBytes);
    if (status == kUnusable) {
        return 0;
    }

    // The input as the reader sees it, undecoded, and the output.
    const File again = RegularFileWith(input);
    CsvReader::Mark mark{};
    char separator = 0;
    const std::vector<CsvRecord> inputRecords = Records(again.get(), form.Separator, &mark, &separator);
    const File written = RegularFileWith(output);
    const std::vector<CsvRecord> outputRecords = Records(written.get(), ',');
    if (outputRecords.size() != inputRecords.size()) {
        Fail("an input record has no output row, or one too many", outputRecords.size());
    }
    std::size_t header = 0;
    while (inputRecords[header].Blank()) {
        if (!outputRecords[header].Blank()) {
            Fail("a blank line before the header was not kept", header);
        }
        ++header;
    }
    const std::size_t width = inputRecords[header].Size();
    // The output's header is UTF-8 whatever the input's was: it names the added columns.
    std::string error;
    const std::optional<RowCalculator> calculator =
        RowCalculator::ForHeader(*Computation::Resolve(mode), outputRecords[header], error);
    if (!calculator) {
        Fail("the output's header lost its figure columns", header);
    }
    const std::size_t computed = calculator->Width();
    const std::size_t outputWidth = outputRecords[header].Size();
    if (outputWidth < computed + 1) {
        Fail("the header lost its computed columns", header);
    }
    // Columns of an earlier run are dropped; then the cells no longer line up.
    const bool lined = outputWidth == width + computed + 1;
    bool anyRefused = false;
    for (std::size_t row = header + 1; row < inputRecords.size(); ++row) {
        const CsvRecord &source = inputRecords[row];
        const CsvRecord &result = outputRecords[row];
        if (result.Size() < outputWidth) {
            Fail("a row is shorter than the header", row);
        }
        const std::size_t firstComputed = outputWidth - computed - 1;
        const std::string_view error = result.Cell(outputWidth - 1);
        std::size_t figures = 0;
        for (std::size_t i = firstComputed; i < outputWidth - 1; ++i) {
            figures += result.Cell(i).empty() ? 0 : 1;
        }
        anyRefused = anyRefused || !error.empty();
        if (source.Blank()) {
            if (figures != 0 || !error.empty()) {
                Fail("a blank row was computed or refused", row);
            }
            continue;
        }
        if (!error.empty() && figures != 0) {
            Fail("a refused row shows a figure", row);
        }
        if (error.empty()) {
            const bool blindZone = mode == BatchMode::Bonus && result.Cell(firstComputed + 2) == "是";
            const std::size_t expected = mode == BatchMode::Bonus && !blindZone ? computed - 3 : computed;
            if (figures != expected) {
                Fail("a computed row lacks a figure", row);
            }
        }
        // Pass-through cells in their place, where the bytes need no decoding.
        if (lined && mark == CsvReader::Mark::None && IsAscii(source.Text)) {
            for (std::size_t i = 0; i < width; ++i) {
                const std::string_view expected = i < source.Size() ? source.Cell(i) : std::string_view{};
                if (result.Cell(i) != expected) {
                    Fail("a pass-through cell changed or moved", row);
                }
            }
        }
    }
    if ((status == kSomeRefused) != anyRefused) {
        Fail("the exit status disagrees with the rows", inputRecords.size());
    }
    (void)separator;
    return 0;
}
