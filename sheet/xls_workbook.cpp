// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/xls_workbook.h"

#include <cerrno>
#include <map>
#include <utility>

#include "sheet/biff_records.h"
#include "sheet/compound_file.h"
#include "sheet/system_error.h"
#include "sheet/xlsx_reader.h"

namespace taxcalc {
namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kFormat = 0x041E;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint32_t kBiff8 = 0x0600;
constexpr std::uint32_t kGlobals = 0x0005;

constexpr std::string_view kDamaged = "不是完好的 .xls 工作簿：";
constexpr std::string_view kEncrypted = "工作簿已加密，不能读取";

std::string Damaged(std::string_view what) {
    return std::string(kDamaged) + "文件已损坏（" + std::string(what) + "）";
}

}  // namespace

bool XlsWorkbook::Open(std::FILE *file, std::string &error) {
    std::string bytes;
    char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        if (bytes.size() + got > kMaxFileBytes) {
            error = "工作簿大于 " + std::to_string(kMaxFileBytes >> 20) + " MiB，不能读取";
            return false;
        }
        bytes.append(chunk, got);
    }
    if (std::ferror(file) != 0) {
        error = std::string("无法读取输入：") + SystemErrorText(errno);
        return false;
    }
    m_fileSize = bytes.size();
    CompoundFile compound;
    std::string reason;
    if (!compound.Open(std::move(bytes), reason)) {
        error = std::string(kDamaged) + reason;
        return false;
    }
    // An encrypted .xlsx is kept in a compound file too.
    if (compound.Has("EncryptedPackage") || compound.Has("EncryptionInfo")) {
        error = kEncrypted;
        return false;
    }
    if (!compound.Has("Workbook")) {
        error = compound.Has("Book") ? "这是 Excel 95 或更早的工作簿（BIFF5），不能读取；请另存为 .xlsx 再读"
                                     : "这是 OLE2 复合文件，但不是 Excel 工作簿";
        return false;
    }
    if (!compound.Read("Workbook", m_stream, reason)) {
        error = std::string(kDamaged) + reason;
        return false;
    }
    return ReadGlobals(error);
}

bool XlsWorkbook::ReadGlobals(std::string &error) {
    BiffRecords records(m_stream, 0);
    BiffRecords::Record record;
    std::string reason;
    if (!records.Next(record, reason) || record.Type != kBof) {
        error = reason.empty() ? Damaged("工作簿流不以 BOF 记录开始") : std::string(kDamaged) + reason;
        return false;
    }
    std::uint32_t version = 0;
    std::uint32_t kind = 0;
    BiffRecords::Cursor bof(record);
    if (!bof.U16(version) || !bof.U16(kind)) {
        error = Damaged("BOF 记录过短");
        return false;
    }
    if (version != kBiff8) {
        error = version == 0x0500 ? "这是 Excel 95 的工作簿（BIFF5），不能读取；请另存为 .xlsx 再读"
                                  : Damaged("不是 BIFF8 格式");
        return false;
    }
    if (kind != kGlobals) {
        error = Damaged("工作簿流不以工作簿全局记录开始");
        return false;
    }
    std::vector<std::uint32_t> xfFormats;
    std::map<std::uint32_t, std::string> formats;
    bool found = false;
    bool ended = false;
    while (!ended && records.Next(record, reason)) {
        BiffRecords::Cursor cursor(record);
        bool whole = true;
        switch (record.Type) {
            case kEof:
                ended = true;
                break;
            case kFilePass:
                error = kEncrypted;
                return false;
            case kDateMode: {
                std::uint32_t mode = 0;
                whole = cursor.U16(mode);
                m_from1904 = mode == 1;
                break;
            }
            case kXf: {
                std::uint32_t format = 0;
                whole = cursor.Skip(2) && cursor.U16(format);
                xfFormats.push_back(format);
                break;
            }
            case kFormat: {
                std::uint32_t id = 0;
                std::string code;
                whole = cursor.U16(id) && cursor.String(code);
                formats[id] = std::move(code);
                break;
            }
            case kBoundSheet: {
                std::uint32_t offset = 0;
                std::uint32_t state = 0;
                std::uint32_t type = 0;
                std::string name;
                whole = cursor.U32(offset) && cursor.U8(state) && cursor.U8(type) && cursor.ShortString(name);
                if (whole && type == 0 && !found) {
                    if (offset >= m_stream.size()) {
                        error = Damaged("工作表“" + name + "”的位置超出工作簿流");
                        return false;
                    }
                    found = true;
                    m_sheetOffset = offset;
                    m_sheetName = std::move(name);
                    m_sheetHidden = (state & 3) != 0;
                } else if (whole) {
                    m_otherSheets.push_back(std::move(name));
                }
                break;
            }
            case kSst: {
                std::uint32_t total = 0;
                std::uint32_t unique = 0;
                whole = cursor.U32(total) && cursor.U32(unique);
                // Each string takes at least three bytes: what the table says it holds
                // must fit in what it is, before room is made for it.
                if (!whole || unique > cursor.Left() / 3) {
                    error = Damaged("共享字符串表声明的字符串多于它所能容纳的");
                    return false;
                }
                m_stringEnds.reserve(unique);
                std::string text;
                for (std::uint32_t i = 0; i < unique && whole; ++i) {
                    whole = cursor.RichString(text);
                    m_strings += text;
                    m_stringEnds.push_back(m_strings.size());
                }
                whole = whole && cursor.Left() == 0;
                break;
            }
            default:
                break;
        }
        if (!whole) {
            error = Damaged("第 " + std::to_string(record.Offset) + " 字节处的记录不完整");
            return false;
        }
    }
    if (!ended) {
        error = reason.empty() ? Damaged("工作簿流在全局记录结束前中断") : std::string(kDamaged) + reason;
        return false;
    }
    if (!found) {
        error = "工作簿中没有工作表";
        return false;
    }
    m_xfDates.reserve(xfFormats.size());
    for (const std::uint32_t id : xfFormats) {
        const auto code = formats.find(id);
        m_xfDates.push_back(code != formats.end() ? XlsxReader::DatePartsOf(code->second)
                                                  : XlsxReader::BuiltinDateParts(id));
    }
    return true;
}

}  // namespace taxcalc
