// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taxcalc {

// An OLE2 compound file, the container of an Excel 97-2003 workbook (and of an
// encrypted .xlsx): a file of fixed-size sectors, chained by a sector allocation
// table (FAT) whose own sectors the header and the DIFAT chain list, a directory of
// named streams, and small streams kept in 64-byte mini sectors of the mini stream.
// Every sector number, chain and size is checked against the file before it is
// followed or memory is taken for it; a chain that loops is refused. Only the streams
// at the top of the directory are looked up, which is where a workbook keeps its own.
class CompoundFile {
public:
    static constexpr std::string_view kSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

    // Reads the structure of the compound file whose bytes are `bytes` (the whole
    // file, kept while the object lives). False, saying why in `error`, for a file
    // that is truncated or whose structure is damaged.
    bool Open(std::string bytes, std::string &error);

    // Whether the top storage holds a stream of this name (compared without regard
    // to ASCII case, as the format's names are).
    bool Has(std::string_view name) const noexcept { return Find(name) != nullptr; }
    // The bytes of that stream. False, saying why in `error`, when it is missing or its
    // chain of sectors is damaged.
    bool Read(std::string_view name, std::string &stream, std::string &error) const;

    std::uint64_t FileSize() const noexcept { return m_bytes.size(); }

private:
    struct Entry {
        std::string Name;  // ASCII letters folded to lower case; other characters as UTF-16 units
        std::uint32_t Start = 0;
        std::uint64_t Size = 0;
    };

    const Entry *Find(std::string_view name) const noexcept;
    bool LoadFat(std::string &error);
    bool LoadDirectory(std::string &error);
    bool LoadMiniStream(std::string &error);
    // The sectors of the chain from `start` in `table`, each one checked to be below
    // `count`, and enough of them to hold `bytes` bytes of `unit` each.
    static bool Chain(const std::vector<std::uint32_t> &table, std::uint32_t start, std::uint64_t count,
                      std::uint64_t bytes, std::uint32_t unit, std::vector<std::uint32_t> &chain,
                      std::string &error);
    // The bytes of the regular sectors of `chain`, `size` of them.
    bool Gather(const std::vector<std::uint32_t> &chain, std::uint64_t size, std::string &out,
                std::string &error) const;
    std::string_view Sector(std::uint32_t sector) const noexcept;

    std::string m_bytes;
    std::uint32_t m_sectorBytes = 512;
    std::uint32_t m_miniSectorBytes = 64;
    std::uint32_t m_miniCutoff = 4096;
    std::uint64_t m_sectors = 0;  // the sectors that the file holds, a short last one included
    std::vector<std::uint32_t> m_fat;
    std::vector<std::uint32_t> m_miniFat;
    std::string m_miniStream;
    std::vector<Entry> m_entries;
    bool m_version4 = false;
};

}  // namespace taxcalc
