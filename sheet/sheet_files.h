// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Opening a spreadsheet file as a record source or sink, of the kind its content
// (input) or its name (output) asks for.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/record_sink.h"
#include "sheet/record_source.h"

namespace taxcalc {

class OutputFile;

// Opens `input` by what it holds, not by its name: an OLE2 compound file as an .xls
// workbook, a ZIP archive as an .xlsx workbook, anything else as CSV. An encrypted or
// damaged workbook, an OpenDocument spreadsheet or another ZIP archive is refused,
// saying in `error` why and which formats are read. The source reads from `input`,
// which must outlive it. `form` applies to CSV only.
std::unique_ptr<RecordSource> OpenRecordSource(std::FILE *input, std::string &error, InputForm form = {});

// Opens `output` at `path` ("-" for standard output) and the sink that writes it in
// the format the name asks for (see WantsXlsx): a workbook is written by name, so it
// goes through a temporary file that has one. Fails, saying why in `error`; the
// output file, abandoned unless committed, then leaves nothing behind. A name whose
// extension promises a spreadsheet format that is not written (.xls, .xlsm, .ods and
// their kin) is refused ("不能写 .xls，请用 .xlsx 或 .csv") before anything is opened.
std::unique_ptr<RecordSink> OpenRecordSink(OutputFile &output, const std::string &path, std::string &error);

// What writing a payroll over the file at `path` would lose beyond what a run
// replaces, one item each: nothing for a CSV file; for an .xlsx workbook what
// WorkbookSurvey finds; an .xls workbook would lose its very format. False, saying why
// in `error`, when the file cannot be read.
bool OverwriteLosses(const std::string &path, std::vector<std::string> &lost, std::string &error);

// Whether an output of this name is written as .xlsx: by its extension, in any case.
// Anything else, and standard output ("-"), is CSV.
bool WantsXlsx(std::string_view name) noexcept;

}  // namespace taxcalc
