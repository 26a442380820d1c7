// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Runs the workbook readers (.xlsx and .xls) on damaged and hostile workbooks, and
// writes what they read back through the workbook writer. The first byte picks the
// form of the rest:
//   bit 0  the rest is the whole file, as libFuzzer mutates it;
//   bit 3  (without bit 0) the rest is the Workbook stream of an .xls workbook, its
//          BIFF8 records, put into a compound file;
//          otherwise the rest is the first worksheet's rows, put into a package;
//   bit 1  the package's parts are stored, not deflated, so that a flipped byte
//          (bit 2) reaches the data and only the checksum can tell; a flipped byte
//          of a compound file may fall in its header, its FAT or its directory.
// In the rows, 0xFF, a count and a byte stand for that byte repeated count × 16 KiB
// times (4 MiB in all at most), so that a short input can hold a token far beyond the
// reader's limit.
// Aborts when a record is longer than a row may be, when row numbers do not rise, or
// when a sheet read whole does not read back the same once written.
#include <sys/mman.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sheet/compound_file.h"
#include "sheet/csv_record.h"
#include "sheet/xls_reader.h"
#include "sheet/xlsx_reader.h"
#include "sheet/xlsx_writer.h"
#include "tests/sheet/xls_bytes.h"

namespace taxcalc {
namespace {

[[noreturn]] void Fail(const char *what) {
    std::fprintf(stderr, "workbook_fuzzer: %s\n", what);
    std::abort();
}

constexpr std::string_view kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// Enough for a token well beyond the reader's limit, and no more: the run stays quick.
constexpr std::size_t kMaxExpanded = std::size_t{4} << 20;

std::string Expanded(std::string_view rows) {
    std::string out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (static_cast<unsigned char>(rows[i]) == 0xFF && i + 2 < rows.size()) {
            const std::size_t count = static_cast<std::size_t>(static_cast<unsigned char>(rows[i + 1])) << 14;
            out.append(std::min(count, kMaxExpanded - std::min(kMaxExpanded, out.size())), rows[i + 2]);
            i += 2;
        } else {
            out.push_back(rows[i]);
        }
    }
    return out;
}

// A package around the rows, made by libzip in memory.
std::string Package(std::string_view rows, bool stored) {
    const std::string sheet = "<worksheet xmlns='" + std::string(kMain) + "'><sheetData>" + Expanded(rows) +
                              "</sheetData></worksheet>";
    const std::vector<std::pair<const char *, std::string>> parts{
        {"[Content_Types].xml",
         "<Types xmlns='http://schemas.openxmlformats.org/package/2006/content-types'/>"},
        {"_rels/.rels",
         "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
         "<Relationship Id='r1' Target='xl/workbook.xml' Type='" +
             std::string(kRelationship) + "officeDocument'/></Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns='" + std::string(kMain) + "' xmlns:r='" +
                                "http://schemas.openxmlformats.org/officeDocument/2006/relationships'>"
                                "<sheets><sheet name='工资' sheetId='1' r:id='s1'/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
         "<Relationship Id='s1' Target='sheet.xml' Type='" +
             std::string(kRelationship) + "worksheet'/><Relationship Id='s2' Target='strings.xml' Type='" +
             std::string(kRelationship) + "sharedStrings'/></Relationships>"},
        {"xl/sheet.xml", sheet},
        {"xl/strings.xml",
         "<sst xmlns='" + std::string(kMain) +
             "'><si><t>年终奖</t></si><si><t>a_x000D_b</t></si><si><r><t>张</t></r></si></sst>"},
    };
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *archive = buffer == nullptr ? nullptr : zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        std::abort();
    }
    zip_source_keep(buffer);
    for (const auto &[name, text] : parts) {
        zip_source_t *part = zip_source_buffer(archive, text.data(), text.size(), 0);
        const zip_int64_t index = part == nullptr ? -1 : zip_file_add(archive, name, part, ZIP_FL_ENC_UTF_8);
        if (index < 0 || (stored && zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                                             ZIP_CM_STORE, 0) != 0)) {
            std::abort();
        }
    }
    if (zip_close(archive) != 0 || zip_source_open(buffer) != 0) {
        std::abort();
    }
    std::string bytes;
    char chunk[65536];
    for (zip_int64_t got; (got = zip_source_read(buffer, chunk, sizeof chunk)) > 0;) {
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
}

int MemoryFile(std::string_view bytes) {
    const int descriptor = memfd_create("workbook_fuzzer", 0);
    if (descriptor < 0 ||
        write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();
    }
    return descriptor;
}

std::vector<CsvRecord> ReadAll(const std::string &path, bool &whole) {
    std::vector<CsvRecord> records;
    whole = false;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::abort();
    }
    char head[8] = {};
    const bool compound = std::fread(head, 1, sizeof head, file) == sizeof head &&
                          std::string_view(head, sizeof head) == CompoundFile::kSignature;
    std::rewind(file);
    XlsxReader xlsx;
    XlsReader xls;
    RecordSource &reader = compound ? static_cast<RecordSource &>(xls) : xlsx;
    std::string error;
    const bool opened = compound ? xls.Open(file, error) : xlsx.Open(path, error);
    std::fclose(file);
    if (!opened) {
        return records;
    }
    CsvRecord record;
    std::uint64_t line = 0;
    RecordSource::Status status;
    while ((status = reader.Read(record)) == RecordSource::Status::Record) {
        if (record.Text.size() > XlsxReader::kMaxRowBytes) {
            Fail("a record is longer than a row may be");
        }
        if (record.Line <= line) {
            Fail("row numbers do not rise");
        }
        line = record.Line;
        records.push_back(record);
    }
    whole = status == RecordSource::Status::End;
    return records;
}

}  // namespace
}  // namespace taxcalc

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace taxcalc;
    if (size < 3) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view rest(reinterpret_cast<const char *>(data + 3), size - 3);
    std::string bytes = (choice & 1) != 0   ? std::string(rest)
                        : (choice & 8) != 0 ? test::CompoundBytes({{u"Workbook", std::string(rest)}})
                                            : Package(rest, (choice & 2) != 0);
    if ((choice & 4) != 0 && !bytes.empty()) {
        bytes[(data[1] * 256U + data[2]) % bytes.size()] ^= static_cast<char>(data[2] | 1);
    }
    const int input = MemoryFile(bytes);
    bool whole = false;
    const std::vector<CsvRecord> records = ReadAll("/proc/self/fd/" + std::to_string(input), whole);
    close(input);
    if (!whole) {
        return 0;
    }

    // What was read whole is written and read again: every cell of text as it was.
    const int output = memfd_create("workbook_fuzzer_out", 0);
    const std::string path = "/proc/self/fd/" + std::to_string(output);
    std::string error;
    XlsxWriter writer;
    if (!writer.Open(path, error)) {
        std::abort();
    }
    std::uint64_t line = 0;
    for (const CsvRecord &record : records) {
        for (; line + 1 < record.Line; ++line) {
            writer.EndRow();
        }
        for (std::size_t i = 0; i < record.Size(); ++i) {
            writer.Cell(record.Cell(i), record.Kind(i));
        }
        writer.EndRow();
        ++line;
    }
    if (writer.Finish(error)) {
        bool again = false;
        const std::vector<CsvRecord> reread = ReadAll(path, again);
        if (!again || reread.size() != records.size()) {
            Fail("a workbook written from a whole sheet does not read back whole");
        }
        for (std::size_t row = 0; row < records.size(); ++row) {
            if (reread[row].Line != records[row].Line || reread[row].Size() != records[row].Size()) {
                Fail("a row moved or changed its width");
            }
            for (std::size_t i = 0; i < records[row].Size(); ++i) {
                if (records[row].Kind(i) == CellKind::Text && reread[row].Cell(i) != records[row].Cell(i)) {
                    Fail("a text cell came back changed");
                }
            }
        }
    }
    close(output);
    return 0;
}
