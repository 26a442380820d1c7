// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace taxcalc {

// The parts of an Excel 97-2003 workbook (BIFF8 records in the Workbook stream of an
// OLE2 compound file) around its first worksheet: the sheets' names, visibility and
// places, the shared strings, the number format of each cell format (XF) as the date
// parts it shows, and the date system. Reading the worksheet's cells is the reader's.
class XlsWorkbook {
public:
    // The whole file is held while it is read; a larger one is refused.
    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t{512} << 20;

    // Reads the workbook in `file` from where it stands to its end. Fails, saying why in
    // `error`, for a damaged or truncated file, an encrypted workbook, an Excel 95 or
    // older one, a compound file that holds no workbook, or one without a worksheet.
    bool Open(std::FILE *file, std::string &error);

    // The Workbook stream, and where in it the first worksheet's records begin.
    std::string_view Stream() const noexcept { return m_stream; }
    std::size_t SheetOffset() const noexcept { return m_sheetOffset; }
    std::uint64_t FileSize() const noexcept { return m_fileSize; }

    const std::string &SheetName() const noexcept { return m_sheetName; }
    bool SheetHidden() const noexcept { return m_sheetHidden; }
    const std::vector<std::string> &OtherSheets() const noexcept { return m_otherSheets; }

    std::size_t SharedStrings() const noexcept { return m_stringEnds.size(); }
    std::string_view SharedString(std::size_t index) const noexcept {
        const std::size_t begin = index == 0 ? 0 : m_stringEnds[index - 1];
        return std::string_view(m_strings).substr(begin, m_stringEnds[index] - begin);
    }

    // The date parts (XlsxReader::kDay, kTimeOfDay) that the cell format of this index
    // shows; none for an index the workbook does not define.
    std::uint8_t DateParts(std::uint32_t xf) const noexcept {
        return xf < m_xfDates.size() ? m_xfDates[xf] : 0;
    }
    bool From1904() const noexcept { return m_from1904; }

private:
    bool ReadGlobals(std::string &error);

    std::string m_stream;
    std::uint64_t m_fileSize = 0;
    std::size_t m_sheetOffset = 0;
    std::string m_sheetName;
    bool m_sheetHidden = false;
    std::vector<std::string> m_otherSheets;
    std::string m_strings;
    std::vector<std::size_t> m_stringEnds;
    std::vector<std::uint8_t> m_xfDates;
    bool m_from1904 = false;
};

}  // namespace taxcalc
