// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/workbook_survey.h"

#include <expat.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "sheet/xlsx_package.h"
#include "sheet/xlsx_writer.h"

namespace taxcalc {
namespace {

// What may be lost, in the order it is told.
enum Loss : std::size_t {
    kFormulas,
    kMerged,
    kFills,
    kFonts,
    kBorders,
    kWidths,
    kHeights,
    kHidden,
    kConditional,
    kValidation,
    kLinks,
    kDrawings,
    kTables,
    kFilter,
    kProtection,
    kLossCount
};

constexpr std::array<std::string_view, kLossCount> kLossNames = {
    "公式",     "合并单元格",   "填充颜色",   "字体",     "边框",   "列宽",
    "行高",     "隐藏的行或列", "条件格式",   "数据验证", "超链接", "图片、图表或批注",
    "表格区域", "筛选",         "工作表保护",
};

// The elements of a worksheet that hold one of the losses, wherever they stand.
constexpr std::array<std::pair<std::string_view, Loss>, 12> kLossElements = {{
    {"f", kFormulas},
    {"mergeCell", kMerged},
    {"conditionalFormatting", kConditional},
    {"dataValidation", kValidation},
    {"hyperlink", kLinks},
    {"drawing", kDrawings},
    {"legacyDrawing", kDrawings},
    {"picture", kDrawings},
    {"oleObject", kDrawings},
    {"tablePart", kTables},
    {"autoFilter", kFilter},
    {"sheetProtection", kProtection},
}};

bool IsTrue(const char *value) noexcept {
    return value != nullptr && (std::strcmp(value, "1") == 0 || std::strcmp(value, "true") == 0);
}

// Whether a column width is one the sheet's writer gives: a whole number of digits
// within its bounds, as a spreadsheet stores it (with its padding, to 1/256).
bool IsWritersWidth(const char *text) {
    double width = 0;
    if (text == nullptr || std::from_chars(text, text + std::strlen(text), width).ec != std::errc{}) {
        return false;
    }
    constexpr double kDigitPixels = 7;
    constexpr double kPaddingPixels = 5;
    for (int digits = XlsxWriter::kMinColumnWidth; digits <= XlsxWriter::kMaxColumnWidth; ++digits) {
        if (std::floor((digits * kDigitPixels + kPaddingPixels) / kDigitPixels * 256) / 256 == width) {
            return true;
        }
    }
    return false;
}

struct SheetLook {
    const std::vector<std::uint8_t> *Looks;
    std::array<bool, kLossCount> Found{};

    void Styled(const char *index) {
        unsigned style = 0;
        if (index == nullptr || std::from_chars(index, index + std::strlen(index), style).ec != std::errc{} ||
            style >= Looks->size()) {
            return;
        }
        const std::uint8_t look = (*Looks)[style];
        Found[kFills] = Found[kFills] || (look & XlsxPackage::kFilled) != 0;
        Found[kFonts] = Found[kFonts] || (look & XlsxPackage::kLettered) != 0;
        Found[kBorders] = Found[kBorders] || (look & XlsxPackage::kBordered) != 0;
    }

    static void OnStart(void *parser, const char *name, const char **attributes) {
        auto *self = static_cast<SheetLook *>(XML_GetUserData(static_cast<XML_Parser>(parser)));
        const std::string_view local = XlsxPackage::Local(name);
        if (local == "c") {
            self->Styled(XlsxPackage::Attribute(attributes, "s"));
            return;
        }
        if (local == "row") {
            self->Found[kHidden] =
                self->Found[kHidden] || IsTrue(XlsxPackage::Attribute(attributes, "hidden"));
            self->Found[kHeights] =
                self->Found[kHeights] || IsTrue(XlsxPackage::Attribute(attributes, "customHeight"));
            if (IsTrue(XlsxPackage::Attribute(attributes, "customFormat"))) {
                self->Styled(XlsxPackage::Attribute(attributes, "s"));
            }
            return;
        }
        if (local == "col") {
            self->Found[kHidden] =
                self->Found[kHidden] || IsTrue(XlsxPackage::Attribute(attributes, "hidden"));
            const char *width = XlsxPackage::Attribute(attributes, "width");
            self->Found[kWidths] = self->Found[kWidths] || (width != nullptr && !IsWritersWidth(width));
            self->Styled(XlsxPackage::Attribute(attributes, "style"));
            return;
        }
        for (const auto &[element, loss] : kLossElements) {
            if (local == element) {
                self->Found[loss] = true;
            }
        }
    }
};

}  // namespace

bool WorkbookSurvey::Losses(std::FILE *file, std::vector<std::string> &lost, std::string &error) {
    lost.clear();
    XlsxPackage package;
    if (!package.Open(file, error)) {
        return false;
    }
    for (const std::string &name : package.OtherSheets()) {
        lost.push_back("工作表“" + name + "”");
    }
    SheetLook look{&package.StyleLooks()};
    const XmlParserPtr parser = XlsxPackage::NewParser(error);
    if (parser == nullptr) {
        return false;
    }
    XML_SetUserData(parser.get(), &look);
    XML_SetStartElementHandler(parser.get(), SheetLook::OnStart);
    if (!package.ParseSheet(parser.get(), error)) {
        return false;
    }
    for (std::size_t loss = 0; loss < kLossCount; ++loss) {
        if (look.Found[loss]) {
            lost.emplace_back(kLossNames[loss]);
        }
    }
    return true;
}

}  // namespace taxcalc
