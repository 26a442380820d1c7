// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Excel 97-2003 workbooks written byte by byte for the tests: BIFF8 records, the
// Workbook stream they make, and the OLE2 compound file that holds it, so that a
// test can give a reader exactly the records (a formula's cached value, a string
// split over CONTINUE records, a damaged chain) that no Debian writer makes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace taxcalc::test {

std::string Le16(std::uint32_t value);
std::string Le32(std::uint32_t value);
std::string LeDouble(double value);

// UTF-16 units, two bytes each, or one byte each (their low bytes) where not `wide`.
std::string Units(std::u16string_view text, bool wide);
// One record: its type, its length, its data.
std::string BiffRecord(std::uint16_t type, std::string_view data);
// A string as the format writes one: its count (16 bits, or 8 for a short one), a
// flags byte, and its UTF-16 units, or one byte each where `wide` is false.
std::string BiffString(std::u16string_view text, bool wide = true, bool shortCount = false);

// Cell records, at a row and a column from 0, in cell format `xf`.
std::string NumberCell(std::uint32_t row, std::uint32_t column, double value, std::uint32_t xf = 0);
std::string LabelCell(std::uint32_t row, std::uint32_t column, std::u16string_view text);
std::string SharedCell(std::uint32_t row, std::uint32_t column, std::uint32_t index);
std::string BoolErrCell(std::uint32_t row, std::uint32_t column, std::uint32_t value, bool error);
// A formula (=1, whatever it holds) with its cached value: a number, or a text result
// (its STRING record following), a boolean (1), an error (2) or empty text (3).
std::string FormulaNumber(std::uint32_t row, std::uint32_t column, double value, std::uint32_t xf = 0);
std::string FormulaOther(std::uint32_t row, std::uint32_t column, std::uint32_t type, std::uint32_t value);
std::string FormulaText(std::uint32_t row, std::uint32_t column, std::u16string_view text);

// The shared strings, in an SST record and as many CONTINUE records as their
// characters need at `limit` bytes a record; a string's characters that go on in
// the next record change between one and two bytes each where `switchWidths` and
// they can.
std::string SharedStrings(const std::vector<std::u16string> &strings, std::size_t limit = 8224,
                          bool switchWidths = false);

struct XlsSheet {
    std::u16string Name;
    std::string Records;     // the cells and whatever else the sheet holds, between its BOF and EOF
    std::uint8_t State = 0;  // 0 visible, 1 hidden, 2 very hidden
    std::uint8_t Type = 0;   // 0 a worksheet, 2 a chart
};

// The Workbook stream: the globals' BOF, `globals` (formats, XF records, the SST),
// a BOUNDSHEET for each sheet and EOF, then each sheet's BOF, records and EOF.
std::string BiffWorkbook(const std::string &globals, const std::vector<XlsSheet> &sheets);

// An OLE2 compound file (version 3, 512-byte sectors) holding these streams at its
// top (three at most), each padded with zeros to whole sectors and at least 4096
// bytes, so that none is in the mini stream.
std::string CompoundBytes(const std::vector<std::pair<std::u16string, std::string>> &streams);
// A workbook of one visible sheet "Sheet1" of these records, with `globals`.
std::string XlsFile(const std::string &sheet, const std::string &globals = {});

}  // namespace taxcalc::test
