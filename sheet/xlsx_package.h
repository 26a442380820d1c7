// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sheet/xlsx_handles.h"

namespace taxcalc {

// The parts of an .xlsx workbook around its first worksheet: the archive (libzip),
// the package's and the workbook's relationships, the shared strings and the number
// formats of the cell styles (expat). Reading the worksheet itself is the reader's.
class XlsxPackage {
public:
    // Guards against an archive that inflates to far more than it holds: the small
    // parts and the shared strings are held in memory.
    static constexpr std::uint64_t kMaxPartBytes = std::uint64_t{64} << 20;
    static constexpr std::uint64_t kMaxSharedStringBytes = std::uint64_t{512} << 20;
    // The most that a streamed part may inflate to; it only bounds time.
    static constexpr std::uint64_t kMaxStreamedBytes = std::uint64_t{16} << 30;
    // The longest single XML token (a tag, a comment) that is read. expat scans a token
    // that a chunk leaves unfinished again with each further chunk, so one huge token
    // would take time growing with its square. Text is no token: a cell's text (at most
    // 32,767 characters) reaches the handlers as it comes.
    static constexpr std::uint64_t kMaxTokenBytes = std::uint64_t{1} << 20;

    XlsxPackage() = default;
    ~XlsxPackage();
    XlsxPackage(const XlsxPackage &) = delete;
    XlsxPackage &operator=(const XlsxPackage &) = delete;

    // Opens the workbook in `file` from its start (a file that cannot seek, as a pipe,
    // is copied to a temporary file first) and finds its first worksheet. Fails, saying
    // why in `error`, for a file that is not a ZIP archive, an OpenDocument spreadsheet,
    // an archive without a workbook, or a workbook without a worksheet.
    bool Open(std::FILE *file, std::string &error);

    // The first worksheet's part, opened for reading, and its inflated size (0 when
    // the archive does not say); nullptr on failure.
    ZipFilePtr OpenSheet(std::uint64_t &size, std::string &error);
    std::uint64_t FileSize() const noexcept { return m_fileSize; }

    // The first worksheet's name on its tab, and whether the workbook hides it.
    const std::string &SheetName() const noexcept { return m_sheetName; }
    bool SheetHidden() const noexcept { return m_sheetHidden; }
    // The names of the workbook's other sheets, in tab order.
    const std::vector<std::string> &OtherSheets() const noexcept { return m_otherSheets; }

    std::size_t SharedStrings() const noexcept { return m_stringEnds.size(); }
    std::string_view SharedString(std::size_t index) const noexcept {
        const std::size_t begin = index == 0 ? 0 : m_stringEnds[index - 1];
        return std::string_view(m_strings).substr(begin, m_stringEnds[index] - begin);
    }

    // The number format of each cell style, by the style's index: a built-in format's
    // id, or one whose code the workbook defines.
    const std::vector<unsigned> &StyleFormats() const noexcept { return m_styleFormats; }
    // The code of a format that the workbook defines; nullptr for a built-in one.
    const std::string *FormatCode(unsigned id) const noexcept;
    // Whether the workbook counts dates from 1904 rather than from 1900.
    bool From1904() const noexcept { return m_from1904; }

    // What a cell style shows beyond a plain cell and a bold header: bits of kFilled,
    // kLettered (a font other than the default, bold aside) and kBordered.
    static constexpr std::uint8_t kFilled = 1;
    static constexpr std::uint8_t kLettered = 2;
    static constexpr std::uint8_t kBordered = 4;
    const std::vector<std::uint8_t> &StyleLooks() const noexcept { return m_styleLooks; }

    // Parses the first worksheet whole with `parser`, to its end, so that its
    // checksum is verified; for a caller that looks at all of it.
    bool ParseSheet(XML_ParserStruct *parser, std::string &error);
    // Reads every entry but the first worksheet to its end, so that libzip checks each
    // one's checksum; ParseSheet reads the worksheet whole.
    bool CheckOtherEntries(std::string &error);

    // The expat conventions of every part: names as "namespace local", no document
    // type. Nothing, saying why in `error`, where expat cannot make one.
    static XmlParserPtr NewParser(std::string &error);
    // Whether the token that `parser` has not finished, after `fed` bytes, is longer
    // than kMaxTokenBytes.
    static bool TokenTooLong(XML_ParserStruct *parser, std::uint64_t fed) noexcept;
    // Reads an entry on to its end without parsing, so that libzip verifies its checksum.
    static bool ReadToEnd(zip_file *file, std::uint64_t &read, std::uint64_t limit, std::string &error);
    // The text that the format's escapes stand for: "_x000D_" is a carriage return,
    // "_x005F_" an underscore that starts what would read as an escape.
    static void Unescape(std::string &text);
    static std::string_view Local(const char *name) noexcept;
    static const char *Attribute(const char **attributes, std::string_view local) noexcept;

private:
    bool OpenArchive(std::FILE *file, std::string &error);
    bool Locate(std::string &error);
    bool LoadSharedStrings(const std::string &part, std::string &error);
    bool LoadStyles(const std::string &part, std::string &error);

    ZipArchivePtr m_archive;
    std::uint64_t m_fileSize = 0;
    std::string m_sheet;
    std::string m_sheetName;
    bool m_sheetHidden = false;
    std::vector<std::string> m_otherSheets;
    std::vector<std::uint8_t> m_styleLooks;
    std::string m_strings;  // the shared strings back to back
    std::vector<std::size_t> m_stringEnds;
    std::vector<unsigned> m_styleFormats;
    std::vector<std::pair<unsigned, std::string>> m_formatCodes;
    bool m_from1904 = false;
};

}  // namespace taxcalc
