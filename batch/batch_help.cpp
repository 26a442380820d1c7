// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/batch_help.h"

#include <algorithm>
#include <string>

#include "batch/command.h"
#include "batch/mode_command.h"
#include "engine/period_rules.h"
#include "paysheet/help_lines.h"
#include "paysheet/mode_description.h"
#include "paysheet/row_evaluator.h"

namespace taxcalc {
namespace {

// What every mode shares. @ERROR@ is the error column's header, @WINDOW@ the period
// that the calculator window computes, @PERIODS@ the periods with their dates.
constexpr std::string_view kShared =
    R"(其余各列原样保留；最后一列“@ERROR@”说明未能计算的行。输入已有上次计算的列时换成新结果。
金额先舍入到分，按计算器窗口的算法和 --rules @WINDOW@ 时与窗口相同，其余时期四舍五入；
负数不予计算。数额可带千位分隔符（1,234,567.89）、全角数字、前后空格和“元”；科学计数法和
分组不对的数（18001,50）不予计算。
输入可为 CSV、.xlsx 或 .xls 工作簿（读第一张工作表），按内容识别。CSV 可为 UTF-8（带或不带
BOM）、GB18030/GBK（Excel 在中文 Windows 上另存的 CSV）或带 BOM 的 UTF-16（Excel 的
“Unicode 文本”）。无 BOM 时按全文（标准输入按前 4 MiB）判断编码，判断不了就报错并请用
--encoding 指定；所用编码显示在标准错误上。分隔符为逗号、分号或制表符，由表头判断。
空行和只有分隔符的行原样保留，不计算，在汇总中另计。一条记录（含引号内的换行）最多 1 MiB。
输出文件名以 .xlsx 结尾时写 .xlsx，否则写带 BOM 的 UTF-8 CSV，CRLF 换行；以 .xls、.xlsm、
.ods 等不写的格式结尾的文件名不接受。不写文件名或写“-”时读标准输入、写标准输出。
  -o, --output 文件   写入该文件（先写临时文件，完整写完才换上）；输出文件不能
                      就是输入文件，除非用 --in-place
      --rules 时期    按发放日所在时期的年终奖规则：
                      @PERIODS@
      --in-place      把结果写回输入文件；有字节无法解码时、有与结果列同名
                      而不是本程序写的列时不覆盖
      --encoding 编码 utf-8 或 gb18030
      --delimiter 符  , ; 或 tab
  -h, --help          显示本说明
      --version       显示版本
退出码：0 每行都已计算（空行除外）；1 有的行未能计算；2 参数错误、文件无法读写、
编码无法确定或缺少所需的表头。中断（Ctrl-C、SIGTERM、SIGHUP）不留下临时文件；启动时
被忽略的信号（nohup）仍被忽略；SIGPIPE 被忽略，写入失败即退出码 2。
)";

constexpr std::string_view kSharedEnglish =
    R"(Every other column is kept as it is; a last column @ERROR@ says why a row was not
computed; columns of an earlier run are replaced. Every amount is first rounded to the
cent: by the calculator window's methods, and under --rules @WINDOW@, as the window
rounds, under the other periods a half cent away from zero; negative amounts are
refused. Amounts may have thousands separators in groups of three, full-width digits,
blanks around them and a trailing 元; exponent forms and wrong groupings (18001,50)
are refused.
Input is CSV, an .xlsx or an .xls workbook (its first worksheet), told apart by
content.
CSV in UTF-8 (with or without a BOM), GB18030/GBK as Excel saves CSV on Chinese
Windows, or UTF-16 with a BOM (Excel's "Unicode text"). Without a BOM the encoding is
judged from the whole file (from the first 4 MiB of standard input); if that does
not settle it the run stops and asks for --encoding. The encoding used is shown on
standard error. The separator, comma, semicolon or tab, is found from the header.
Blank lines and rows of bare separators stay in place, are not computed and are
counted apart. A record (with the line breaks inside its quotes) may hold 1 MiB.
Output .xlsx when its name ends in .xlsx, else UTF-8 CSV with a BOM and CRLF line
ends; a name ending in a format not written (.xls, .xlsm, .ods and the like) is
refused. Standard input and output where no file is named or the name is "-".
  -o, --output FILE   write FILE (through a temporary file, put in place when
                      complete); FILE may not be the input but with --in-place
      --rules PERIOD  the year-end bonus rules of the period of the pay date:
                      @PERIODS@
      --in-place      write the result over the input; never when bytes could not
                      be decoded, nor over columns named as the results' that
                      this program did not write
      --encoding ENC  utf-8 or gb18030
      --delimiter SEP , ; or tab
  -h, --help          show this help
      --version       show the version
Exit status: 0 every row computed (blank rows aside); 1 some rows refused; 2 unusable
arguments, an unreadable or unwritable file, an unsettled encoding or no usable
header. An interrupt (Ctrl-C, SIGTERM, SIGHUP) leaves no temporary file; signals
ignored at start (nohup) stay ignored; SIGPIPE is ignored and a failed write exits 2.
)";

constexpr std::string_view kPeriodIndent = "                      ";

// The periods as the engine lists them, so that the help can never disagree with it.
std::string PeriodLines(std::string_view indent) {
    std::string lines;
    for (const PeriodRules &rules : AllPeriods()) {
        if (!lines.empty()) {
            lines.append("\n").append(indent);
        }
        lines.append(rules.Name).append("  ").append(rules.FirstDay).append(" … ").append(rules.LastDay);
    }
    return lines;
}

// The period whose figures are the calculator window's own: the one that keeps its
// rounding.
std::string WindowPeriod() {
    for (const PeriodRules &rules : AllPeriods()) {
        if (rules.Rounding != HalfRule::AwayFromZero) {
            return std::string(rules.Name);
        }
    }
    return std::string(Rules(PeriodId::Y2011).Name);
}

std::string Filled(std::string_view text) {
    std::string filled(text);
    const std::pair<std::string_view, std::string> values[] = {
        {"@ERROR@", std::string(RowEvaluator::kErrorHeader)},
        {"@WINDOW@", WindowPeriod()},
        {"@PERIODS@", PeriodLines(kPeriodIndent)},
    };
    for (const auto &[placeholder, value] : values) {
        for (std::size_t at = filled.find(placeholder); at != std::string::npos;
             at = filled.find(placeholder, at + value.size())) {
            filled.replace(at, placeholder.size(), value);
        }
    }
    return filled;
}

std::string UsageLines(Language language) {
    std::string text;
    const std::string_view lead = language == Language::Chinese ? "用法：" : "Usage: ";
    const std::string indent(DisplayWidth(lead), ' ');
    for (const Command *command : Command::All()) {
        text += (text.empty() ? std::string(lead) : indent) + "taxcalc-batch " +
                std::string(command->Name()) + " " + command->Arguments(language) + "\n";
    }
    return text;
}

std::string CommandList(Language language, bool modes) {
    std::size_t width = 0;
    for (const Command *command : Command::All()) {
        width = std::max(width, command->Name().size() + command->Arguments(language).size());
    }
    std::string text;
    for (const Command *command : Command::All()) {
        const bool mode = dynamic_cast<const ModeCommand *>(command) != nullptr;
        if (mode != modes) {
            continue;
        }
        const std::string name = modes ? std::string(command->Name())
                                       : std::string(command->Name()) + " " + command->Arguments(language);
        const std::size_t column = modes ? 16 : 18;
        text += Wrapped("  " + Padded(name, column - 2), command->Summary(language), column);
    }
    return text;
}

std::string Generated() {
    std::string text = UsageLines(Language::Chinese);
    text += "\n";
    text += "在工资表（CSV 文件或 .xlsx、.xls 工作簿）每一行之后添加所选模式算出的各列。\n";
    text += "模式：\n" + CommandList(Language::Chinese, true);
    text += "命令：\n" + CommandList(Language::Chinese, false);
    text +=
        "各模式读取的列（括号内是同样认得的英文列名）和添加的列；每列的缺省值、不予计算的情况\n"
        "和例子见 taxcalc-batch help 模式：\n";
    for (const Command *command : Command::All()) {
        text += command->Overview();
    }
    text += Filled(kShared);
    text += "\n" + UsageLines(Language::English);
    text += "\n";
    text +=
        "Adds to every row of a payroll (a CSV file or an .xlsx or .xls workbook) the columns\n"
        "that the chosen mode computes.\n";
    text += "Modes:\n" + CommandList(Language::English, true);
    text += "Commands:\n" + CommandList(Language::English, false);
    text +=
        "The columns each mode reads and adds are listed above, in Chinese with the English\n"
        "names that match as well; taxcalc-batch help MODE shows a mode's columns with their\n"
        "defaults, what it refuses and an example.\n";
    text += Filled(kSharedEnglish);
    return text;
}

}  // namespace

std::string_view BatchHelpText() {
    static const std::string text = Generated();
    return text;
}

}  // namespace taxcalc
