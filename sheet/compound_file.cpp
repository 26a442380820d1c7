// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/compound_file.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace taxcalc {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr std::size_t kHeaderDifat = 109;
constexpr std::size_t kEntryBytes = 128;
constexpr std::uint64_t kToTheEnd = std::numeric_limits<std::uint64_t>::max();

std::uint32_t U16(std::string_view bytes, std::size_t at) noexcept {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint32_t U32(std::string_view bytes, std::size_t at) noexcept {
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

std::string Damaged(std::string_view what) {
    return "文件已损坏（" + std::string(what) + "）";
}

}  // namespace

std::string_view CompoundFile::Sector(std::uint32_t sector) const noexcept {
    const std::uint64_t at = (std::uint64_t{sector} + 1) * m_sectorBytes;
    if (at >= m_bytes.size()) {
        return {};
    }
    return std::string_view(m_bytes).substr(static_cast<std::size_t>(at), m_sectorBytes);
}

bool CompoundFile::Open(std::string bytes, std::string &error) {
    m_bytes = std::move(bytes);
    const std::string_view file = m_bytes;
    if (file.size() < 512 || !file.starts_with(kSignature)) {
        error = Damaged("文件头不完整");
        return false;
    }
    const std::uint32_t major = U16(file, 26);
    const std::uint32_t shift = U16(file, 30);
    if (U16(file, 28) != 0xFFFE || !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
        U16(file, 32) != 6) {
        error = Damaged("文件头无效");
        return false;
    }
    m_version4 = major == 4;
    m_sectorBytes = std::uint32_t{1} << shift;
    m_miniCutoff = U32(file, 56);
    if (file.size() < m_sectorBytes) {
        error = Damaged("文件头不完整");
        return false;
    }
    m_sectors = (file.size() - m_sectorBytes + m_sectorBytes - 1) / m_sectorBytes;
    return LoadFat(error) && LoadDirectory(error) && LoadMiniStream(error);
}

bool CompoundFile::LoadFat(std::string &error) {
    const std::string_view file = m_bytes;
    const std::uint64_t fatSectors = U32(file, 44);
    if (fatSectors > m_sectors) {
        error = Damaged("扇区分配表比文件还大");
        return false;
    }
    std::vector<std::uint32_t> listed;
    listed.reserve(static_cast<std::size_t>(fatSectors));
    for (std::size_t i = 0; i < kHeaderDifat && listed.size() < fatSectors; ++i) {
        listed.push_back(U32(file, 76 + 4 * i));
    }
    // The rest of the list is in the DIFAT chain, each sector ending with the next one's number.
    const std::size_t perDifat = m_sectorBytes / 4 - 1;
    std::vector<bool> seen(static_cast<std::size_t>(m_sectors));
    for (std::uint32_t difat = U32(file, 68); listed.size() < fatSectors;) {
        if (difat >= m_sectors || seen[difat]) {
            error = Damaged(difat >= m_sectors ? "DIFAT 链指向文件之外" : "DIFAT 链成环");
            return false;
        }
        seen[difat] = true;
        const std::string_view sector = Sector(difat);
        if (sector.size() < m_sectorBytes) {
            error = Damaged("文件被截断");
            return false;
        }
        for (std::size_t i = 0; i < perDifat && listed.size() < fatSectors; ++i) {
            listed.push_back(U32(sector, 4 * i));
        }
        difat = U32(sector, 4 * perDifat);
    }
    const std::size_t perSector = m_sectorBytes / 4;
    m_fat.reserve(listed.size() * perSector);
    for (const std::uint32_t number : listed) {
        const std::string_view sector = number < m_sectors ? Sector(number) : std::string_view();
        if (sector.size() < m_sectorBytes) {
            error = Damaged(number < m_sectors ? "文件被截断" : "扇区分配表指向文件之外");
            return false;
        }
        for (std::size_t i = 0; i < perSector; ++i) {
            m_fat.push_back(U32(sector, 4 * i));
        }
    }
    return true;
}

bool CompoundFile::Chain(const std::vector<std::uint32_t> &table, std::uint32_t start, std::uint64_t count,
                         std::uint64_t bytes, std::uint32_t unit, std::vector<std::uint32_t> &chain,
                         std::string &error) {
    chain.clear();
    const std::uint64_t needed = bytes == kToTheEnd ? count : (bytes + unit - 1) / unit;
    if (needed > count) {
        error = Damaged("流的大小超出文件");
        return false;
    }
    std::vector<bool> seen(static_cast<std::size_t>(count));
    for (std::uint32_t at = start; chain.size() < needed && at != kEndOfChain;) {
        if (at >= count || at >= table.size()) {
            error = Damaged("扇区链指向文件之外");
            return false;
        }
        if (seen[at]) {
            error = Damaged("扇区链成环");
            return false;
        }
        seen[at] = true;
        chain.push_back(at);
        at = table[at];
    }
    if (bytes != kToTheEnd && chain.size() < needed) {
        error = Damaged("扇区链短于流的大小");
        return false;
    }
    return true;
}

bool CompoundFile::Gather(const std::vector<std::uint32_t> &chain, std::uint64_t size, std::string &out,
                          std::string &error) const {
    out.clear();
    out.reserve(static_cast<std::size_t>(size));
    for (const std::uint32_t sector : chain) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(m_sectorBytes, size - out.size()));
        const std::string_view bytes = Sector(sector);
        if (bytes.size() < want) {
            error = Damaged("文件被截断");
            return false;
        }
        out.append(bytes.substr(0, want));
    }
    return true;
}

bool CompoundFile::LoadDirectory(std::string &error) {
    std::vector<std::uint32_t> chain;
    if (!Chain(m_fat, U32(m_bytes, 48), m_sectors, kToTheEnd, m_sectorBytes, chain, error)) {
        return false;
    }
    std::string directory;
    if (chain.empty() || !Gather(chain, std::uint64_t{chain.size()} * m_sectorBytes, directory, error)) {
        error = error.empty() ? Damaged("没有目录") : error;
        return false;
    }
    const std::string_view entries = directory;
    const std::size_t count = entries.size() / kEntryBytes;
    if (static_cast<unsigned char>(entries[66]) != 5) {
        error = Damaged("目录的根项无效");
        return false;
    }
    // The root's own start and size are the mini stream's.
    Entry root;
    root.Start = U32(entries, 116);
    root.Size = U32(entries, 120) | (m_version4 ? std::uint64_t{U32(entries, 124)} << 32 : 0);
    m_entries.push_back(root);
    // The root's children, a tree by their left and right siblings.
    std::vector<bool> seen(count);
    std::vector<std::uint32_t> pending{U32(entries, 76)};
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoEntry) {
            continue;
        }
        if (id == 0 || id >= count || seen[id]) {
            error = Damaged(id >= count ? "目录项指向目录之外" : "目录成环");
            return false;
        }
        seen[id] = true;
        const std::string_view entry = entries.substr(id * kEntryBytes, kEntryBytes);
        pending.push_back(U32(entry, 68));
        pending.push_back(U32(entry, 72));
        if (static_cast<unsigned char>(entry[66]) != 2) {
            continue;  // a storage, whose streams are not the workbook's
        }
        const std::size_t nameBytes = std::min<std::size_t>(U16(entry, 64), 64);
        Entry stream;
        for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
            const std::uint32_t unit = U16(entry, i);
            if (unit == 0) {
                break;
            }
            if (unit < 0x80) {
                stream.Name += static_cast<char>(unit >= 'A' && unit <= 'Z' ? unit + 0x20 : unit);
            } else {
                stream.Name += static_cast<char>(0x80 | (unit >> 8));
                stream.Name += static_cast<char>(unit & 0xFF);
            }
        }
        stream.Start = U32(entry, 116);
        stream.Size = U32(entry, 120) | (m_version4 ? std::uint64_t{U32(entry, 124)} << 32 : 0);
        m_entries.push_back(std::move(stream));
    }
    return true;
}

bool CompoundFile::LoadMiniStream(std::string &error) {
    const Entry &root = m_entries.front();
    std::vector<std::uint32_t> chain;
    if (root.Size == 0) {
        return true;
    }
    if (!Chain(m_fat, root.Start, m_sectors, root.Size, m_sectorBytes, chain, error) ||
        !Gather(chain, root.Size, m_miniStream, error)) {
        return false;
    }
    const std::uint64_t miniSectors = (root.Size + m_miniSectorBytes - 1) / m_miniSectorBytes;
    const std::uint64_t declared = U32(m_bytes, 64);
    if (declared > m_sectors) {
        error = Damaged("小扇区分配表比文件还大");
        return false;
    }
    if (!Chain(m_fat, U32(m_bytes, 60), m_sectors, declared * m_sectorBytes, m_sectorBytes, chain, error)) {
        return false;
    }
    std::string table;
    if (!Gather(chain, declared * m_sectorBytes, table, error)) {
        return false;
    }
    m_miniFat.reserve(table.size() / 4);
    for (std::size_t i = 0; i + 4 <= table.size(); i += 4) {
        m_miniFat.push_back(U32(table, i));
    }
    // A mini sector past the mini stream is none.
    if (m_miniFat.size() > miniSectors) {
        m_miniFat.resize(static_cast<std::size_t>(miniSectors));
    }
    return true;
}

const CompoundFile::Entry *CompoundFile::Find(std::string_view name) const noexcept {
    for (std::size_t i = 1; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        if (entry.Name.size() == name.size() &&
            std::equal(name.begin(), name.end(), entry.Name.begin(), [](char a, char b) {
                return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 0x20) : a) == b;
            })) {
            return &entry;
        }
    }
    return nullptr;
}

bool CompoundFile::Read(std::string_view name, std::string &stream, std::string &error) const {
    const Entry *found = Find(name);
    if (found == nullptr) {
        error = "其中没有 " + std::string(name) + " 流";
        return false;
    }
    std::vector<std::uint32_t> chain;
    if (found->Size >= m_miniCutoff) {
        return Chain(m_fat, found->Start, m_sectors, found->Size, m_sectorBytes, chain, error) &&
               Gather(chain, found->Size, stream, error);
    }
    const std::uint64_t miniSectors = m_miniFat.size();
    if (!Chain(m_miniFat, found->Start, miniSectors, found->Size, m_miniSectorBytes, chain, error)) {
        return false;
    }
    stream.clear();
    stream.reserve(static_cast<std::size_t>(found->Size));
    for (const std::uint32_t sector : chain) {
        const std::size_t at = std::size_t{sector} * m_miniSectorBytes;
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(m_miniSectorBytes, found->Size - stream.size()));
        if (at + want > m_miniStream.size()) {
            error = Damaged("小扇区超出小扇区流");
            return false;
        }
        stream.append(m_miniStream, at, want);
    }
    return true;
}

}  // namespace taxcalc
