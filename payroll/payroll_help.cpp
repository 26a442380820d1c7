// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_help.h"

#include <string>

#include "paysheet/help_lines.h"
#include "paysheet/mode_description.h"
#include "sheet/record_source.h"

namespace taxcalc {
namespace {

constexpr std::size_t kTitleColumn = 28;

std::string Modes(bool chinese) {
    std::string text;
    for (const ModeDescription *mode : OfferedModes()) {
        const std::string title(chinese ? mode->Title : mode->EnglishTitle);
        text += Wrapped("  " + Padded(title, kTitleColumn - 2),
                        chinese ? mode->Summary.Chinese : mode->Summary.English, kTitleColumn);
    }
    return text;
}

std::string Generated() {
    std::string text = "用法：taxcalc-payroll [选项] [文件]\n\n";
    text += Wrapped("",
                    "打开工资表个税窗口，整张工资表逐行按所选方式计算。" +
                        std::string(RecordSource::kReadableFormats) + "。",
                    0);
    text += "方式（与 taxcalc-batch 的模式相同，用 taxcalc-batch help 模式 查看各自的列）：\n";
    text += Modes(true);
    text +=
        "税法期间可选；落在年终奖盲区的行和未能计算的行标出，并给出合计。结果可另存为 .xlsx\n"
        "或 CSV，与 taxcalc-batch 写出的相同。\n"
        "  -h, --help          显示本说明\n"
        "      --version       显示版本\n"
        "另接受 Qt 的通用选项，如 -platform。\n\n";
    text += "Usage: taxcalc-payroll [OPTION] [FILE]\n\n";
    text +=
        "Opens the payroll window: every row of a whole payroll is computed in the chosen\n"
        "mode. It opens CSV files in UTF-8 or GB18030, and .xlsx and .xls workbooks.\n"
        "The modes (those of taxcalc-batch; taxcalc-batch help MODE shows each one's columns):\n";
    text += Modes(false);
    text +=
        "The period is chosen as well; rows in a blind zone and refused rows are marked,\n"
        "and the whole file is summed. The result saves as .xlsx or CSV, the same as\n"
        "taxcalc-batch writes.\n"
        "  -h, --help          show this help\n"
        "      --version       show the version\n"
        "Qt's common options, such as -platform, are accepted as well.\n";
    return text;
}

}  // namespace

std::string_view PayrollHelpText() {
    static const std::string text = Generated();
    return text;
}

}  // namespace taxcalc
