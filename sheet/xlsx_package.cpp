// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/xlsx_package.h"
#include "sheet/input_mark.h"
#include "sheet/system_error.h"

#include <expat.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <utility>

namespace taxcalc {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{64} << 10;
constexpr std::string_view kOdsMimeType = "application/vnd.oasis.opendocument.spreadsheet";
// expat joins a namespace and a local name with this character.
constexpr char kNamespaceSeparator = ' ';

std::string_view Namespace(const char *name) noexcept {
    const char *separator = std::strrchr(name, kNamespaceSeparator);
    return separator == nullptr ? std::string_view{} : std::string_view(name, separator - name);
}

// A workbook never declares a document type; refusing one keeps entity expansion out.
void RefuseDoctype(void *parser, const char *, const char *, const char *, int) {
    XML_StopParser(static_cast<XML_Parser>(parser), XML_FALSE);
}

std::string TokenRefusal(const std::string &part) {
    return part + " 中有一段 XML 标记长于 1 MiB";
}

std::string ZipReason(zip_t *archive) {
    return zip_strerror(archive);
}

zip_int64_t Find(zip_t *archive, const std::string &name) {
    // Part names in a package compare without regard to case.
    return zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
}

// Parses a whole part with `parser`, refusing one that inflates beyond `limit`.
bool ParsePart(zip_t *archive, const std::string &name, XML_Parser parser, std::uint64_t limit,
               std::string &error) {
    const zip_int64_t index = Find(archive, name);
    if (index < 0) {
        error = "缺少 " + name;
        return false;
    }
    const ZipFilePtr owned(zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0));
    zip_file_t *file = owned.get();
    if (file == nullptr) {
        error = name + "：" + ZipReason(archive);
        return false;
    }
    std::vector<char> chunk(kChunkBytes);
    std::uint64_t total = 0;
    bool good = true;
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
        if (got < 0) {
            error = name + "：" + zip_file_strerror(file);
            good = false;
            break;
        }
        total += static_cast<std::uint64_t>(got);
        if (total > limit) {
            error = name + " 解压后过大";
            good = false;
            break;
        }
        if (XML_Parse(parser, chunk.data(), static_cast<int>(got), got == 0) != XML_STATUS_OK) {
            error = name + " 不是有效的 XML：" + XML_ErrorString(XML_GetErrorCode(parser));
            good = false;
            break;
        }
        if (XlsxPackage::TokenTooLong(parser, total)) {
            error = TokenRefusal(name);
            good = false;
            break;
        }
        if (got == 0) {
            break;
        }
    }
    return good;
}

// Where a relationship's target lies in the package: relative to the folder of the
// part that names it, or from the root when it starts with "/".
std::string ResolveTarget(const std::string &source, std::string_view target) {
    std::string path;
    if (!target.empty() && target.front() == '/') {
        target.remove_prefix(1);
    } else {
        const std::size_t slash = source.rfind('/');
        path = slash == std::string::npos ? "" : source.substr(0, slash + 1);
    }
    path.append(target);
    // Drop "." and fold ".." segments.
    std::vector<std::string> segments;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string segment = path.substr(begin, end - begin);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        begin = end + 1;
    }
    std::string resolved;
    for (const std::string &segment : segments) {
        resolved += resolved.empty() ? "" : "/";
        resolved += segment;
    }
    return resolved;
}

std::string RelationshipsOf(const std::string &part) {
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + name + ".rels";
}

struct Relationship {
    std::string Id;
    std::string Type;
    std::string Target;
};

struct Relationships {
    std::vector<Relationship> All;

    static void OnStart(void *parser, const char *name, const char **attributes) {
        auto *self = static_cast<Relationships *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
        if (XlsxPackage::Local(name) != "Relationship") {
            return;
        }
        const char *mode = XlsxPackage::Attribute(attributes, "TargetMode");
        const char *id = XlsxPackage::Attribute(attributes, "Id");
        const char *type = XlsxPackage::Attribute(attributes, "Type");
        const char *target = XlsxPackage::Attribute(attributes, "Target");
        if (id != nullptr && type != nullptr && target != nullptr &&
            (mode == nullptr || std::strcmp(mode, "External") != 0)) {
            self->All.push_back({id, type, target});
        }
    }

    // The first relationship whose type ends in "/kind"; the transitional and the strict
    // forms of the format differ only before it.
    const Relationship *OfType(std::string_view kind) const {
        for (const Relationship &relationship : All) {
            const std::string_view type = relationship.Type;
            if (type.size() > kind.size() && type.ends_with(kind) &&
                type[type.size() - kind.size() - 1] == '/') {
                return &relationship;
            }
        }
        return nullptr;
    }

    const Relationship *WithId(std::string_view id) const {
        for (const Relationship &relationship : All) {
            if (relationship.Id == id) {
                return &relationship;
            }
        }
        return nullptr;
    }

    bool Load(zip_t *archive, const std::string &part, std::string &error) {
        const XmlParserPtr parser = XlsxPackage::NewParser(error);
        if (parser == nullptr) {
            return false;
        }
        XML_SetUserData(parser.get(), this);
        XML_SetStartElementHandler(parser.get(), OnStart);
        return ParsePart(archive, part, parser.get(), XlsxPackage::kMaxPartBytes, error);
    }
};

// The workbook's sheets in tab order, with their relationship ids, and its date system.
struct SheetList {
    struct Sheet {
        std::string Id;
        std::string Name;
        bool Hidden = false;
    };
    std::vector<Sheet> All;
    bool From1904 = false;

    static void OnStart(void *parser, const char *name, const char **attributes) {
        auto *self = static_cast<SheetList *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
        if (XlsxPackage::Local(name) == "workbookPr") {
            const char *date1904 = XlsxPackage::Attribute(attributes, "date1904");
            self->From1904 = date1904 != nullptr &&
                             (std::strcmp(date1904, "1") == 0 || std::strcmp(date1904, "true") == 0);
            return;
        }
        if (XlsxPackage::Local(name) != "sheet") {
            return;
        }
        Sheet sheet;
        for (const char **attribute = attributes; attribute[0] != nullptr; attribute += 2) {
            if (XlsxPackage::Local(attribute[0]) == "id" &&
                Namespace(attribute[0]).ends_with("relationships")) {
                sheet.Id = attribute[1];
            }
        }
        const char *shown = XlsxPackage::Attribute(attributes, "name");
        const char *state = XlsxPackage::Attribute(attributes, "state");
        sheet.Name = shown == nullptr ? "" : shown;
        // "hidden", or "veryHidden", which only a macro can show again.
        sheet.Hidden = state != nullptr && std::strcmp(state, "visible") != 0;
        self->All.push_back(std::move(sheet));
    }
};

// Collects the text of each <si>: its <t>, or the <t> of each rich text run, but not
// the phonetic guide (<rPh>) that some writers add to East Asian text.
struct SharedStringsLoader {
    std::string *Strings;
    std::vector<std::size_t> *Ends;
    std::uint64_t Limit;
    int PhoneticDepth = 0;
    bool InItem = false;
    bool InText = false;
    bool TooLarge = false;

    static SharedStringsLoader *Self(void *parser) {
        return static_cast<SharedStringsLoader *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    }
    static void OnStart(void *parser, const char *name, const char **) {
        SharedStringsLoader *self = Self(parser);
        const std::string_view local = XlsxPackage::Local(name);
        if (local == "si") {
            self->InItem = true;
        } else if (local == "rPh") {
            ++self->PhoneticDepth;
        } else if (local == "t" && self->InItem && self->PhoneticDepth == 0) {
            self->InText = true;
        }
    }
    static void OnEnd(void *parser, const char *name) {
        SharedStringsLoader *self = Self(parser);
        const std::string_view local = XlsxPackage::Local(name);
        if (local == "si" && self->Fits(parser, sizeof(std::size_t))) {
            self->InItem = false;
            const std::size_t begin = self->Ends->empty() ? 0 : self->Ends->back();
            if (self->Strings->find("_x", begin) != std::string::npos) {
                std::string text = self->Strings->substr(begin);
                XlsxPackage::Unescape(text);
                self->Strings->replace(begin, std::string::npos, text);
            }
            self->Ends->push_back(self->Strings->size());
        } else if (local == "rPh") {
            --self->PhoneticDepth;
        } else if (local == "t") {
            self->InText = false;
        }
    }
    static void OnText(void *parser, const char *text, int length) {
        SharedStringsLoader *self = Self(parser);
        if (self->InText && self->Fits(parser, static_cast<std::size_t>(length))) {
            self->Strings->append(text, static_cast<std::size_t>(length));
        }
    }
    // The memory that the strings and their ends take stays within the limit.
    bool Fits(void *parser, std::size_t more) {
        if (Strings->size() + Ends->size() * sizeof(std::size_t) + more <= Limit) {
            return true;
        }
        TooLarge = true;
        XML_StopParser(static_cast<XML_Parser>(parser), XML_FALSE);
        return false;
    }
};

// The number format of each cell style (<cellXfs>), and the formats the workbook
// defines (<numFmts>); and what each style shows beyond the defaults (its fill, its
// font, its border).
struct StylesLoader {
    std::vector<std::pair<unsigned, std::string>> *Codes;
    std::vector<unsigned> *Formats;
    std::vector<std::uint8_t> *Looks;
    int InCellStyles = 0;
    int InFonts = 0;
    int InFont = 0;
    // Each font of <fonts> as its settings, one "name(attributes)" each, bold left
    // aside; the first is the workbook's default.
    std::vector<std::vector<std::string>> Fonts{};
    struct Style {
        unsigned Font;
        unsigned Fill;
        unsigned Border;
    };
    std::vector<Style> Styles{};

    static StylesLoader *Self(void *parser) {
        return static_cast<StylesLoader *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
    }
    static unsigned Id(const char *text) {
        unsigned id = 0;
        if (text != nullptr) {
            std::from_chars(text, text + std::strlen(text), id);
        }
        return id;
    }
    static void OnStart(void *parser, const char *name, const char **attributes) {
        StylesLoader *self = Self(parser);
        const std::string_view local = XlsxPackage::Local(name);
        if (self->InFont > 0) {
            if (local != "b") {
                std::string setting(local);
                setting.push_back('(');
                for (const char **attribute = attributes; attribute[0] != nullptr; attribute += 2) {
                    setting.append(XlsxPackage::Local(attribute[0]))
                        .append("=")
                        .append(attribute[1])
                        .append(";");
                }
                self->Fonts.back().push_back(setting + ")");
            }
        } else if (local == "font" && self->InFonts > 0) {
            ++self->InFont;
            self->Fonts.emplace_back();
        } else if (local == "fonts") {
            ++self->InFonts;
        } else if (local == "numFmt") {
            const char *code = XlsxPackage::Attribute(attributes, "formatCode");
            self->Codes->emplace_back(Id(XlsxPackage::Attribute(attributes, "numFmtId")),
                                      code == nullptr ? "" : code);
        } else if (local == "cellXfs") {
            ++self->InCellStyles;
        } else if (local == "xf" && self->InCellStyles > 0) {
            self->Formats->push_back(Id(XlsxPackage::Attribute(attributes, "numFmtId")));
            self->Styles.push_back({Id(XlsxPackage::Attribute(attributes, "fontId")),
                                    Id(XlsxPackage::Attribute(attributes, "fillId")),
                                    Id(XlsxPackage::Attribute(attributes, "borderId"))});
        }
    }
    static void OnEnd(void *parser, const char *name) {
        StylesLoader *self = Self(parser);
        const std::string_view local = XlsxPackage::Local(name);
        if (local == "cellXfs") {
            --self->InCellStyles;
        } else if (local == "fonts") {
            --self->InFonts;
        } else if (local == "font" && self->InFont > 0) {
            --self->InFont;
        }
    }
    // Whether a font sets nothing but what the default sets alike: a setting left out
    // is the default's.
    bool LikeTheDefault(const std::vector<std::string> &font) const {
        return std::all_of(font.begin(), font.end(), [this](const std::string &setting) {
            return std::find(Fonts.front().begin(), Fonts.front().end(), setting) != Fonts.front().end();
        });
    }
    // Fill 0 is none and fill 1 the gray pattern that every workbook lists; border 0
    // none; a font that differs from the default in nothing but boldness is the
    // default's.
    void Judge() const {
        Looks->clear();
        for (const Style &style : Styles) {
            std::uint8_t look = 0;
            if (style.Fill > 1) {
                look |= XlsxPackage::kFilled;
            }
            if (style.Border > 0) {
                look |= XlsxPackage::kBordered;
            }
            if (style.Font > 0 && (style.Font >= Fonts.size() || !LikeTheDefault(Fonts[style.Font]))) {
                look |= XlsxPackage::kLettered;
            }
            Looks->push_back(look);
        }
    }
};

}  // namespace

std::string_view XlsxPackage::Local(const char *name) noexcept {
    const char *separator = std::strrchr(name, kNamespaceSeparator);
    return separator == nullptr ? name : separator + 1;
}

const char *XlsxPackage::Attribute(const char **attributes, std::string_view local) noexcept {
    for (; attributes[0] != nullptr; attributes += 2) {
        if (Local(attributes[0]) == local) {
            return attributes[1];
        }
    }
    return nullptr;
}

void ZipArchiveDiscard::operator()(zip *archive) const noexcept {
    zip_discard(archive);
}

void ZipFileClose::operator()(zip_file *file) const noexcept {
    zip_fclose(file);
}

void XmlParserFree::operator()(XML_ParserStruct *parser) const noexcept {
    XML_ParserFree(parser);
}

XmlParserPtr XlsxPackage::NewParser(std::string &error) {
    XmlParserPtr parser(XML_ParserCreateNS("UTF-8", kNamespaceSeparator));
    if (parser == nullptr) {
        error = "无法创建 XML 解析器（内存不足）";
        return nullptr;
    }
    XML_SetStartDoctypeDeclHandler(parser.get(), RefuseDoctype);
    XML_UseParserAsHandlerArg(parser.get());
    return parser;
}

XlsxPackage::~XlsxPackage() = default;

const std::string *XlsxPackage::FormatCode(unsigned id) const noexcept {
    for (const auto &[defined, code] : m_formatCodes) {
        if (defined == id) {
            return &code;
        }
    }
    return nullptr;
}

bool XlsxPackage::Open(std::FILE *file, std::string &error) {
    // Asked of the descriptor: a failed fseek may drop what the stream has buffered.
    if (lseek(fileno(file), 0, SEEK_CUR) < 0) {
        const StdioPtr copy = SeekableCopy(file, error);
        return copy != nullptr && OpenArchive(copy.get(), error);
    }
    return OpenArchive(file, error);
}

// libzip reads through a stream of its own on a duplicate of the descriptor, which it
// closes; the caller's stream stays open.
bool XlsxPackage::OpenArchive(std::FILE *file, std::string &error) {
    struct stat status {};
    if (fstat(fileno(file), &status) == 0) {
        m_fileSize = static_cast<std::uint64_t>(status.st_size);
    }
    const int descriptor = dup(fileno(file));
    StdioPtr own(descriptor < 0 ? nullptr : fdopen(descriptor, "rb"));
    if (own == nullptr) {
        if (descriptor >= 0) {
            close(descriptor);
        }
        error = std::string("无法读取输入：") + SystemErrorText(errno);
        return false;
    }
    zip_error_t zipError;
    zip_error_init(&zipError);
    // A source that is made owns the stream from then on; the archive, the source.
    zip_source_t *source = zip_source_filep_create(own.get(), 0, -1, &zipError);
    if (source != nullptr) {
        own.release();
        m_archive.reset(zip_open_from_source(source, ZIP_RDONLY, &zipError));
        if (m_archive == nullptr) {
            zip_source_free(source);
        }
    }
    if (m_archive == nullptr) {
        error = std::string("不是完好的 ZIP 压缩包：") + zip_error_strerror(&zipError);
        zip_error_fini(&zipError);
        return false;
    }
    zip_error_fini(&zipError);
    // Two entries of one name: which of them a reader takes is anyone's guess. Part
    // names compare without regard to case.
    const zip_int64_t entries = zip_get_num_entries(m_archive.get(), 0);
    std::unordered_set<std::string> names;
    for (zip_int64_t i = 0; i < entries; ++i) {
        const char *name = zip_get_name(m_archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        std::string folded = name == nullptr ? "" : name;
        for (char &c : folded) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
        }
        if (name != nullptr && !names.insert(std::move(folded)).second) {
            error = std::string("不是完好的 .xlsx 工作簿：压缩包中有两个条目同名 ") + name;
            return false;
        }
    }
    return Locate(error);
}

bool XlsxPackage::Locate(std::string &error) {
    // An OpenDocument file names its kind in a first, uncompressed "mimetype" entry.
    const zip_int64_t mimetype = zip_name_locate(m_archive.get(), "mimetype", 0);
    if (mimetype >= 0) {
        char kind[128] = {};
        if (zip_file_t *file = zip_fopen_index(m_archive.get(), static_cast<zip_uint64_t>(mimetype), 0)) {
            const zip_int64_t got = zip_fread(file, kind, sizeof kind - 1);
            zip_fclose(file);
            if (got > 0 && std::string_view(kind).starts_with(kOdsMimeType)) {
                error = "这是 OpenDocument 表格（.ods），不能读取";
                return false;
            }
        }
    }
    std::string reason;
    Relationships package;
    if (!package.Load(m_archive.get(), "_rels/.rels", reason)) {
        error = "这是 ZIP 压缩包，但不是 .xlsx 工作簿（" + reason + "）";
        return false;
    }
    const Relationship *document = package.OfType("officeDocument");
    if (document == nullptr) {
        error = "这是 ZIP 压缩包，但不是 .xlsx 工作簿（没有主文档）";
        return false;
    }
    const std::string workbook = ResolveTarget("", document->Target);

    SheetList sheets;
    {
        const XmlParserPtr parser = NewParser(error);
        if (parser == nullptr) {
            return false;
        }
        XML_SetUserData(parser.get(), &sheets);
        XML_SetStartElementHandler(parser.get(), SheetList::OnStart);
        if (!ParsePart(m_archive.get(), workbook, parser.get(), kMaxPartBytes, reason)) {
            error = "不是完好的 .xlsx 工作簿：" + reason;
            return false;
        }
    }
    Relationships parts;
    if (!parts.Load(m_archive.get(), RelationshipsOf(workbook), reason)) {
        error = "不是完好的 .xlsx 工作簿：" + reason;
        return false;
    }
    std::string sheet;
    for (const SheetList::Sheet &entry : sheets.All) {
        const Relationship *relationship = parts.WithId(entry.Id);
        if (sheet.empty() && relationship != nullptr && relationship->Type.ends_with("/worksheet")) {
            sheet = ResolveTarget(workbook, relationship->Target);
            m_sheetName = entry.Name;
            m_sheetHidden = entry.Hidden;
        } else {
            m_otherSheets.push_back(entry.Name);
        }
    }
    if (sheet.empty()) {
        error = "工作簿中没有工作表";
        return false;
    }
    if (const Relationship *styles = parts.OfType("styles")) {
        if (!LoadStyles(ResolveTarget(workbook, styles->Target), error)) {
            return false;
        }
    }
    m_from1904 = sheets.From1904;
    if (const Relationship *strings = parts.OfType("sharedStrings")) {
        if (!LoadSharedStrings(ResolveTarget(workbook, strings->Target), error)) {
            return false;
        }
    }
    m_sheet = std::move(sheet);
    return true;
}

bool XlsxPackage::LoadSharedStrings(const std::string &part, std::string &error) {
    SharedStringsLoader loader{&m_strings, &m_stringEnds, kMaxSharedStringBytes};
    const XmlParserPtr parser = NewParser(error);
    if (parser == nullptr) {
        return false;
    }
    XML_SetUserData(parser.get(), &loader);
    XML_SetElementHandler(parser.get(), SharedStringsLoader::OnStart, SharedStringsLoader::OnEnd);
    XML_SetCharacterDataHandler(parser.get(), SharedStringsLoader::OnText);
    std::string reason;
    if (!ParsePart(m_archive.get(), part, parser.get(), kMaxStreamedBytes, reason)) {
        error = loader.TooLarge ? "工作簿的共享字符串过大" : "不是完好的 .xlsx 工作簿：" + reason;
        return false;
    }
    return true;
}

bool XlsxPackage::LoadStyles(const std::string &part, std::string &error) {
    StylesLoader loader{&m_formatCodes, &m_styleFormats, &m_styleLooks};
    const XmlParserPtr parser = NewParser(error);
    if (parser == nullptr) {
        return false;
    }
    XML_SetUserData(parser.get(), &loader);
    XML_SetElementHandler(parser.get(), StylesLoader::OnStart, StylesLoader::OnEnd);
    std::string reason;
    if (!ParsePart(m_archive.get(), part, parser.get(), kMaxPartBytes, reason)) {
        error = "不是完好的 .xlsx 工作簿：" + reason;
        return false;
    }
    loader.Judge();
    return true;
}

bool XlsxPackage::ParseSheet(XML_ParserStruct *parser, std::string &error) {
    std::string reason;
    if (!ParsePart(m_archive.get(), m_sheet, parser, kMaxStreamedBytes, reason)) {
        error = "不是完好的 .xlsx 工作簿：" + reason;
        return false;
    }
    return true;
}

bool XlsxPackage::CheckOtherEntries(std::string &error) {
    const zip_int64_t entries = zip_get_num_entries(m_archive.get(), 0);
    const zip_int64_t sheet = Find(m_archive.get(), m_sheet);
    for (zip_int64_t i = 0; i < entries; ++i) {
        if (i == sheet) {
            continue;
        }
        const auto index = static_cast<zip_uint64_t>(i);
        const ZipFilePtr entry(zip_fopen_index(m_archive.get(), index, 0));
        std::uint64_t read = 0;
        std::string reason;
        if (entry == nullptr) {
            reason = ZipReason(m_archive.get());
        }
        if (entry == nullptr || !ReadToEnd(entry.get(), read, kMaxStreamedBytes, reason)) {
            const char *name = zip_get_name(m_archive.get(), index, ZIP_FL_ENC_RAW);
            error = std::string(name == nullptr ? "" : name) + "：" + reason;
            return false;
        }
    }
    return true;
}

bool XlsxPackage::TokenTooLong(XML_ParserStruct *parser, std::uint64_t fed) noexcept {
    // Where the last event ended: what lies beyond is one token that is not complete.
    const XML_Index parsed = XML_GetCurrentByteIndex(parser);
    return fed > static_cast<std::uint64_t>(std::max<XML_Index>(parsed, 0)) + kMaxTokenBytes;
}

bool XlsxPackage::ReadToEnd(zip_file *file, std::uint64_t &read, std::uint64_t limit, std::string &error) {
    std::vector<char> chunk(kChunkBytes);
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
        if (got < 0) {
            error = zip_file_strerror(file);
            return false;
        }
        if (got == 0) {
            return true;
        }
        read += static_cast<std::uint64_t>(got);
        if (read > limit) {
            error = "解压后过大";
            return false;
        }
    }
}

void XlsxPackage::Unescape(std::string &text) {
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        const char lower = static_cast<char>(c | 0x20);
        return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
    };
    // The code unit of an escape "_xHHHH_" at `at`, or -1.
    const auto unit = [&](std::size_t at) -> long {
        if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
            return -1;
        }
        long value = 0;
        for (std::size_t i = at + 2; i < at + 6; ++i) {
            const int digit = hex(text[i]);
            if (digit < 0) {
                return -1;
            }
            value = value * 16 + digit;
        }
        return value;
    };
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        long code = unit(i);
        std::size_t width = 7;
        if (code >= 0xD800 && code <= 0xDBFF) {
            // A character beyond the first plane comes as two escapes.
            const long low = unit(i + 7);
            if (low < 0xDC00 || low > 0xDFFF) {
                code = -1;
            } else {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                width = 14;
            }
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            code = -1;
        }
        if (code < 0) {
            plain.push_back(text[i++]);
            continue;
        }
        const auto value = static_cast<unsigned long>(code);
        if (value < 0x80) {
            plain.push_back(static_cast<char>(value));
        } else if (value < 0x800) {
            plain.push_back(static_cast<char>(0xC0 | (value >> 6)));
            plain.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else if (value < 0x10000) {
            plain.push_back(static_cast<char>(0xE0 | (value >> 12)));
            plain.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            plain.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else {
            plain.push_back(static_cast<char>(0xF0 | (value >> 18)));
            plain.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
            plain.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            plain.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
        i += width;
    }
    text = std::move(plain);
}

ZipFilePtr XlsxPackage::OpenSheet(std::uint64_t &size, std::string &error) {
    const zip_int64_t index = Find(m_archive.get(), m_sheet);
    zip_stat_t status;
    if (index < 0 || zip_stat_index(m_archive.get(), static_cast<zip_uint64_t>(index), 0, &status) != 0) {
        error = "不是完好的 .xlsx 工作簿：缺少 " + m_sheet;
        return nullptr;
    }
    size = (status.valid & ZIP_STAT_SIZE) != 0 ? status.size : 0;
    ZipFilePtr sheet(zip_fopen_index(m_archive.get(), static_cast<zip_uint64_t>(index), 0));
    if (sheet == nullptr) {
        error = "无法读取工作表：" + ZipReason(m_archive.get());
    }
    return sheet;
}

}  // namespace taxcalc
