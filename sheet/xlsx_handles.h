// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Owners of the handles that reading a workbook opens: each closes or frees its
// handle on every path out, error paths included.
#pragma once

#include <cstdio>
#include <memory>

struct zip;
struct zip_file;
struct XML_ParserStruct;

namespace taxcalc {

struct ZipArchiveDiscard {
    void operator()(zip *archive) const noexcept;
};
struct ZipFileClose {
    void operator()(zip_file *file) const noexcept;
};
struct XmlParserFree {
    void operator()(XML_ParserStruct *parser) const noexcept;
};
struct StdioClose {
    void operator()(std::FILE *file) const noexcept { std::fclose(file); }
};

using ZipArchivePtr = std::unique_ptr<zip, ZipArchiveDiscard>;
using ZipFilePtr = std::unique_ptr<zip_file, ZipFileClose>;
using XmlParserPtr = std::unique_ptr<XML_ParserStruct, XmlParserFree>;
using StdioPtr = std::unique_ptr<std::FILE, StdioClose>;

}  // namespace taxcalc
