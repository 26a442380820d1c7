// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/layout_table.h"

#include <array>

#include "panels/bonus_panel.h"
#include "panels/wage_panel.h"
#include "ui/link_addresses.h"

namespace taxcalc {
namespace {

constexpr Colour kMagenta = 0xFF00FF;
constexpr Colour kDarkOrange = 0x0040C0;

constexpr std::string_view kPromotionalNotice =
    "★ 作者理财专栏：稳健致富\r\n★ 五年安家，十二年致富\r\n★ 欢迎加入，一起投资！";
constexpr std::string_view kCreditLine = "★ 本计算器由 taxcalc 开发组制作，免费开源 ★";
constexpr std::string_view kBlindZoneNote =
    "2、年终奖计算可能出现“税前收入多一元，个税要多缴上万”的离奇情况，本计算器会对年终奖盲区作出提示，"
    "使企业合理避税。";

using enum ControlKind;
using enum FontRole;
constexpr std::optional<Colour> kPlain;

// Frames come before their contents, so that a container exists when a control names it.
constexpr std::array kControls = std::to_array<ControlRow>({
    {"Frame2", Frame, "", 0, 0, 5415, 5895, "个税计算", Panel, kPlain, ""},
    {"Label25", AutoSizeLabel, "Frame2", 840, 480, 4125, 315, "最新个税计算器(2011年9月)", Title, kMagenta,
     ""},
    {"Text5", TextEntry, "Frame2", 1440, 960, 2100, 450, "", Panel, kPlain, "每月薪金"},
    {"Label33", AutoSizeLabel, "Frame2", 360, 1080, 960, 240, "每月薪金", Panel, kPlain, ""},
    {"Text4", TextEntry, "Frame2", 1440, 1560, 2100, 450, kDeductionsDefault, Panel, kPlain, "三险一金"},
    {"Cmd_CAL1", Button, "Frame2", 3840, 1560, 975, 495, "计算", Panel, kPlain, "个税计算：计算"},
    {"Label32", AutoSizeLabel, "Frame2", 360, 1680, 960, 240, "三险一金", Panel, kPlain, ""},
    {"Label31", AutoSizeLabel, "Frame2", 120, 2280, 1440, 240, "调整前需纳税", Panel, kPlain, ""},
    {"Label29", AutoSizeLabel, "Frame2", 2160, 2280, 120, 240, "0", Panel, kPlain, "调整前需纳税"},
    {"Label30", AutoSizeLabel, "Frame2", 120, 2760, 1440, 240, "调整后需纳税", Panel, kPlain, ""},
    {"Label28", AutoSizeLabel, "Frame2", 2160, 2760, 120, 240, "0", Panel, kPlain, "调整后需纳税"},
    {"Label27", AutoSizeLabel, "Frame2", 120, 3240, 960, 240, "调整结果", Panel, kPlain, ""},
    {"Label34", AutoSizeLabel, "Frame2", 2160, 3240, 2040, 240, "恭喜！您少交个税 ", Panel, kPlain,
     "调整结果"},
    {"Label26", AutoSizeLabel, "Frame2", 4200, 3240, 150, 285, "0", Figure, kRed, "差额"},
    {"Picture2", Picture, "Frame2", 120, 4320, 1455, 1455, "", Panel, kPlain, "理财专栏徽章"},
    {"Label19", WrappingLabel, "Frame2", 1800, 4440, 3435, 720, kPromotionalNotice, Panel, kDarkOrange, ""},
    {"Cmd_ESC1", Button, "Frame2", 1800, 5280, 1935, 495, "重新输入(ESC)", Panel, kPlain,
     "个税计算：重新输入"},

    {"Frame1", Frame, "", 5760, 0, 5415, 6735, "最新2011年终奖计算器", Panel, kPlain, ""},
    {"Label21", AutoSizeLabel, "Frame1", 840, 480, 3300, 315, "最新2011年终奖计算器", Title, kMagenta, ""},
    {"Text2", TextEntry, "Frame1", 1440, 960, 2100, 450, "", Panel, kPlain, "年终奖"},
    {"Cmd_CAL2", Button, "Frame1", 3840, 960, 975, 495, "计算", Panel, kPlain, "年终奖计算：计算"},
    {"Label12", AutoSizeLabel, "Frame1", 360, 1080, 720, 240, "年终奖", Panel, kPlain, ""},
    {"Label13", WrappingLabel, "Frame1", 240, 1560, 1080, 480, " 年终奖 当月工资", Panel, kPlain, ""},
    {"Text3", TextEntry, "Frame1", 1440, 1560, 2100, 450, kMonthWageDefault, Panel, kPlain, "年终奖当月工资"},
    {"Label22", AutoSizeLabel, "Frame1", 3600, 1680, 1680, 240, "(如>=3500不输)", Panel, kPlain, ""},
    {"Label15", AutoSizeLabel, "Frame1", 120, 2280, 720, 240, "纳税额", Panel, kPlain, ""},
    {"Label17", AutoSizeLabel, "Frame1", 1200, 2280, 120, 240, "0", Panel, kPlain, "纳税额"},
    {"Label14", AutoSizeLabel, "Frame1", 3600, 2280, 1680, 240, "旧级别、旧方法", Panel, kPlain, ""},
    {"Label16", AutoSizeLabel, "Frame1", 3720, 2640, 120, 240, "0", Panel, kPlain, "旧方法纳税额"},
    {"Label4", FixedLabel, "Frame1", 120, 2760, 5175, 255, "评价：", Panel, kPlain, "评价"},
    {"Label18", AutoSizeLabel, "Frame1", 3600, 2880, 1680, 240, "新级别、新方法", Panel, kPlain, ""},
    {"Label5", FixedLabel, "Frame1", 120, 3120, 5175, 615, "Label5", Panel, kRed, "评价第二行"},
    {"Label20", AutoSizeLabel, "Frame1", 3720, 3240, 150, 285, "0", Figure, kRed, "年化税额"},
    {"Label6", FixedLabel, "Frame1", 120, 3720, 5175, 735, "Label6", Panel, kPlain, "评价第三行"},
    {"Picture1", Picture, "Frame1", 120, 4320, 1455, 1455, "", Panel, kPlain, "理财专栏徽章"},
    {"Label23", FixedLabel, "Frame1", 1800, 4440, 3375, 855, kPromotionalNotice, Panel, kDarkOrange, ""},
    {"Cmd_ESC2", Button, "Frame1", 1800, 5280, 1935, 495, "重新输入(ESC)", Panel, kPlain,
     "年终奖计算：重新输入"},
    {"Label2", FixedLabel, "Frame1", 720, 6000, 3975, 615, "★需批量处理年终奖，防止出冤枉钱，请点击！★",
     Notice, kDarkOrange, ""},

    {"Label11", AutoSizeLabel, "", 2040, 6960, 7020, 180, kCreditLine, Standard, kPlain, ""},
    {"Label1", FixedLabel, "", 120, 7440, 10935, 615, LegalBasisNote, Standard, kPlain, ""},
    {"Label3", FixedLabel, "", 120, 8160, 10935, 255, kBlindZoneNote, Standard, kPlain, ""},
});

constexpr std::array kLines = std::to_array<LineSpec>({
    {"Line9", "Frame2", 0, 2160, 5400, 2160},
    {"Line8", "Frame2", 0, 3600, 5400, 3600},
    {"Line7", "Frame2", 1920, 2160, 1920, 3600},
    {"Line4", "Frame1", 0, 2160, 5400, 2160},
    {"Line5", "Frame1", 0, 2640, 5400, 2640},
    {"Line6", "Frame1", 960, 2160, 960, 2640},
});

}  // namespace

std::span<const ControlRow> ControlTable() noexcept {
    return kControls;
}
std::span<const LineSpec> LineTable() noexcept {
    return kLines;
}

}  // namespace taxcalc
