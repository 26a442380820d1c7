// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/command_line.h"

#include <algorithm>
#include <array>
#include <vector>

namespace taxcalc {
namespace {

std::string Lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// The values of --encoding and --delimiter; false, saying why, for any other.
bool TakeValue(CommandLine &line, bool encoding, std::string_view value, std::string &error) {
    const std::string lower = Lowered(value);
    if (encoding) {
        line.Encoding = lower == "utf-8" || lower == "utf8"                         ? TextEncoding::Utf8
                        : lower == "gb18030" || lower == "gbk" || lower == "gb2312" ? TextEncoding::Gb18030
                                                                                    : TextEncoding::Undecided;
        error = "未知的编码“" + std::string(value) + "”：应为 utf-8 或 gb18030";
        return line.Encoding != TextEncoding::Undecided;
    }
    line.Separator = lower == "," || lower == "comma"                    ? ','
                     : lower == ";" || lower == "semicolon"              ? ';'
                     : lower == "tab" || lower == "\t" || lower == "\\t" ? '\t'
                                                                         : '\0';
    error = "未知的分隔符“" + std::string(value) + "”：应为 , ; 或 tab";
    return line.Separator != '\0';
}

constexpr std::string_view kHelp =
    R"(用法：taxcalc-batch bonus [--rules 时期] [输入.csv] [-o 输出.csv] [选项]
      taxcalc-batch wage  [输入.csv] [-o 输出.csv] [选项]
      taxcalc-batch gross-bonus|gross-wage|split [--rules 时期] [输入.csv] [-o 输出.csv] [选项]

按计算器窗口的算法批量计算一个 CSV 文件的每一行。
  bonus  年终奖：列“年终奖”（或 bonus），可选列“当月工资”（或 wage，缺省 3500）；
         添加 2011年终奖个税、税后年终奖、是否盲区、建议年终奖、建议税额、
         建议税后年终奖、2010方法个税、节省 各列。
         加 --rules 2008、2018 或 2019 时按该时期的规则计算（金额和税额都四舍五入
         到分），当月工资缺省为该时期的费用扣除标准，2019 起不需要当月工资；
         添加 年终奖个税、税后年终奖、是否盲区、建议年终奖、建议税额、建议税后年终奖
         各列；2019 时如有列“全年应纳税所得额”（或 annual_taxable，不含年终奖），
         再添加 并入综合所得增加个税、建议计税方式（单独计税 或 并入综合所得）。
         --rules 2011 与不加 --rules 相同。
  wage   工资：列“每月薪金”（或 wage），可选列“三险一金”（或 deductions，缺省 0）；
         添加 调整前需纳税、调整后需纳税、结果、差额 各列。
  gross-bonus  要发多少年终奖，员工才能实得某个税后金额：列“税后年终奖”（或 net_bonus），
         可选列“当月工资”（或 wage，缺省为该时期的费用扣除标准，2019 起不需要）；
         添加 税前年终奖（税后不少于所需金额的最小年终奖，不会落在盲区）、年终奖个税、
         实得税后年终奖 各列。
  gross-wage   要发多少月薪，员工才能实得某个税后工资：列“税后工资”（或 net_wage），
         可选列“三险一金”（或 deductions，缺省 0）；添加 税前工资、工资个税、
         实得税后工资 各列。只用于 2008、2011、2018：自 2019 年起工资按全年累计预扣。
  split  全年收入（12 个月的月薪加年终奖）不变，怎样分配月薪和年终奖全年个税最少：
         列“月薪”（或 wage）、“年终奖”（或 bonus），可选列“三险一金”（或 deductions，
         缺省 0）、“最低月薪”（或 min_wage，缺省 0），2019 时还有“专项附加扣除”（或
         special_deductions，全年合计，缺省 0）；逐分比较每一种月薪，添加 现全年个税、
         建议月薪、建议年终奖、建议全年个税、全年节省 各列，2019 时再加 计税方式
         （单独计税 或 并入综合所得）。现在的分配已经最省时保持不变，否则取最省的分配中
         月薪最高的一种。最低月薪高于全年收入的十二分之一的行不计算。
  这三种模式按 --rules 所指时期（缺省 2011）的规则计算，金额先舍入到分（2011 与计算器
  窗口相同，其余时期四舍五入），不接受负数。
  withhold  工资薪金累计预扣预缴（2019 年起），每位员工每月一行，列同扣缴软件的
         工资薪金模板：所属月份（month，如 2026-03）、本期收入（income），员工由
         证件号码（id_number）、工号（employee_id）或姓名（name）中表头先有的一列区分；
         可选 本期免税收入（tax_free_income）、基本养老保险费（pension）、基本医疗
         保险费（medical）、失业保险费（unemployment）、住房公积金（housing_fund）或
         三险一金（deductions）、累计子女教育（children_education）、累计继续教育
         （continuing_education）、累计住房贷款利息（mortgage_interest）、累计住房租金
         （housing_rent）、累计赡养老人（elderly_support）、累计3岁以下婴幼儿照护
         （infant_care）或 累计专项附加扣除（special_deductions）、累计个人养老金
         （personal_pension）、企业(职业)年金（annuity）、商业健康保险
         （health_insurance）、税延养老保险（deferred_pension）、其他
         （other_deductions）、准予扣除的捐赠额（donations）、减免税额（tax_relief）、
         任职受雇从业日期（hire_date）、离职日期（leave_date）、按6万元减除
         （sixty_thousand）、年内首次取得工资（first_job）、是否扣除减除费用
         （deduct_allowance，空为“是”）。整个文件读入后按员工逐月累计；添加 累计收入 …
         本期应预扣预缴税额、本期税后收入 各列。某月未能计算时，该员工以后各月也不计算。
  remuneration  劳务报酬、稿酬、特许权使用费的预扣预缴，每次支付一行：列“收入”
         （income），可选“所得项目”（item：劳务报酬、稿酬或特许权使用费，空为劳务报酬）；
         添加 收入额、应纳税所得额、预扣率、速算扣除数、应预扣预缴税额、税后收入 各列。
  reconcile  综合所得年度汇算，每人每年一行：工资薪金收入（wages，不含年终奖）、
         全年一次性奖金（bonus）、劳务报酬收入（labour_income）、稿酬收入
         （author_income）、特许权使用费收入（royalty_income）、免税收入
         （tax_free_income）、专项扣除（deductions）、专项附加扣除（special_deductions）、
         其他扣除（other_deductions）、准予扣除的捐赠额（donations）、减免税额
         （tax_relief）、已缴税额（tax_paid）、年度（year，2019 至 2027），空为 0，
         表头至少要有一个收入列；年终奖单独计税或并入综合所得取税少的一种；添加
         综合所得收入额、应纳税所得额、单独计税应纳税额、并入综合所得应纳税额、
         年终奖计税方式、应纳税额、应补退税额、结果（补税、退税、免予补税 或 无需补退）。
  这三种模式的金额和税额都四舍五入到分，不接受负数，也不接受 --rules。
其余各列原样保留；最后一列“错误”说明未能计算的行。输入已有上次计算的列时换成新结果。
数额可带千位分隔符（1,234,567.89）、全角数字、前后空格和“元”；科学计数法和
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

Usage: taxcalc-batch bonus [--rules PERIOD] [IN.csv] [-o OUT.csv] [options]
       taxcalc-batch wage  [IN.csv] [-o OUT.csv] [options]
       taxcalc-batch gross-bonus|gross-wage|split [--rules PERIOD] [IN.csv] [-o OUT.csv] [options]

Computes every row of a CSV file the way the calculator window does.
  bonus  year-end bonus: column 年终奖 (or bonus), optional 当月工资 (or wage,
         3500 when missing or empty); adds the 2011 tax, the bonus after tax, the
         blind-zone verdict and advice, the 2010-method tax and the saving.
         With --rules 2008, 2018 or 2019 the rules of that period, amounts and taxes
         rounded to the cent (a half cent away from zero); the wage defaults to the
         period's monthly allowance and is not needed from 2019; adds the bonus tax,
         the bonus after tax, the blind-zone verdict and advice (年终奖个税 ...
         建议税后年终奖), and from 2019, given a column 全年应纳税所得额 (or
         annual_taxable: the year's comprehensive taxable income without the bonus),
         what joining that income adds to its tax and the better method
         (并入综合所得增加个税, 建议计税方式). --rules 2011 is the same as no --rules.
  wage   monthly wage: column 每月薪金 (or wage), optional 三险一金 (or
         deductions, 0 when missing or empty); adds the taxes before and after the
         2011 reform, less/more (少交/多交) and the difference.
  gross-bonus  the bonus to pay for a wanted amount after tax: column 税后年终奖
         (or net_bonus), optional 当月工资 (or wage, the period's monthly allowance
         when missing or empty; not needed from 2019); adds the smallest bonus that
         leaves at least that much (never one in a blind zone), its tax and what it
         leaves (税前年终奖, 年终奖个税, 实得税后年终奖).
  gross-wage   the monthly wage to pay for a wanted take-home pay: column 税后工资
         (or net_wage), optional 三险一金 (or deductions, 0 when missing or empty);
         adds the wage, its tax and the take-home pay (税前工资, 工资个税,
         实得税后工资). Periods 2008, 2011 and 2018 only: from 2019 wages are
         withheld cumulatively over the year.
  split  the split of a year's pay (twelve monthly wages and the bonus, the total
         kept) with the least tax for the year: columns 月薪 (or wage) and 年终奖
         (or bonus), optional 三险一金 (or deductions) and 最低月薪 (or min_wage),
         both 0 when missing or empty, and under 2019 专项附加扣除 (or
         special_deductions, for the year, 0 when missing or empty); every wage is
         tried to the cent; adds the current year's tax, the advised wage and bonus,
         their year's tax and the saving (现全年个税, 建议月薪, 建议年终奖,
         建议全年个税, 全年节省), and under 2019 the method (计税方式). The current
         split is kept when nothing saves more, else the largest wage among the
         cheapest. A row whose minimum wage exceeds a twelfth of the year's pay is
         refused.
  These three compute by the rules of the period named by --rules (2011 when none),
  every amount first rounded to the cent (as the window rounds under 2011, a half
  cent away from zero under the others); negative amounts are refused.
  withhold  wage withholding by the cumulative method (from 2019), one row per
         employee per month in the columns of the withholding software's wage
         template: 所属月份 (month, e.g. 2026-03) and 本期收入 (income); the employee
         is told by the first of 证件号码 (id_number), 工号 (employee_id) or 姓名
         (name) that the header has; optional 本期免税收入 (tax_free_income),
         基本养老保险费 (pension), 基本医疗保险费 (medical), 失业保险费
         (unemployment), 住房公积金 (housing_fund) or 三险一金 (deductions),
         累计子女教育 (children_education), 累计继续教育 (continuing_education),
         累计住房贷款利息 (mortgage_interest), 累计住房租金 (housing_rent),
         累计赡养老人 (elderly_support), 累计3岁以下婴幼儿照护 (infant_care) or
         累计专项附加扣除 (special_deductions), 累计个人养老金 (personal_pension),
         企业(职业)年金 (annuity), 商业健康保险 (health_insurance), 税延养老保险
         (deferred_pension), 其他 (other_deductions), 准予扣除的捐赠额 (donations),
         减免税额 (tax_relief), 任职受雇从业日期 (hire_date), 离职日期
         (leave_date), 按6万元减除 (sixty_thousand), 年内首次取得工资 (first_job),
         是否扣除减除费用 (deduct_allowance, 是 when empty). The file is read whole
         and each employee's months are added up in order; adds 累计收入 ...
         本期应预扣预缴税额, 本期税后收入. A refused month refuses the employee's
         later months.
  remuneration  the prepayment on one payment of remuneration: column 收入
         (income), optional 所得项目 (item: 劳务报酬, 稿酬 or 特许权使用费; empty is
         劳务报酬); adds 收入额, 应纳税所得额, 预扣率, 速算扣除数, 应预扣预缴税额,
         税后收入.
  reconcile  the annual reconciliation, one row per person and year: 工资薪金收入
         (wages, without the bonus), 全年一次性奖金 (bonus), 劳务报酬收入
         (labour_income), 稿酬收入 (author_income), 特许权使用费收入
         (royalty_income), 免税收入 (tax_free_income), 专项扣除 (deductions),
         专项附加扣除 (special_deductions), 其他扣除 (other_deductions),
         准予扣除的捐赠额 (donations), 减免税额 (tax_relief), 已缴税额 (tax_paid),
         年度 (year, 2019 to 2027), empty as 0, at least one income column; the bonus
         is taxed on its own or joined, whichever costs less; adds 综合所得收入额,
         应纳税所得额, 单独计税应纳税额, 并入综合所得应纳税额, 年终奖计税方式,
         应纳税额, 应补退税额, 结果 (补税, 退税, 免予补税 or 无需补退).
  These three round amounts and taxes half away from zero, refuse negative amounts
  and take no --rules.
Every other column is kept as it is; a last column 错误 says why a row was not
computed; columns of an earlier run are replaced. Amounts may have thousands
separators in groups of three, full-width digits, blanks around them and a trailing
元; exponent forms and wrong groupings (18001,50) are refused.
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

std::string Substituted(std::string text, std::string_view placeholder, const std::string &value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
}

}  // namespace

std::string_view CommandLine::HelpText() noexcept {
    static const std::string text = Substituted(std::string(kHelp), "@PERIODS@", PeriodLines(kPeriodIndent));
    return text;
}

namespace {

// What the options seen so far have set, for the ones that may be given only once.
struct Seen {
    bool Output = false;
    bool Rules = false;
};

bool TakeOutput(CommandLine &line, Seen &seen, std::string_view name, std::string &error) {
    if (seen.Output) {
        error = "输出文件只能指定一次";
        return false;
    }
    if (name.empty()) {
        error = "输出文件名是空的";
        return false;
    }
    line.Output = name;
    seen.Output = true;
    return true;
}

bool TakeRules(CommandLine &line, Seen &seen, std::string_view name, std::string &error) {
    if (seen.Rules) {
        error = "--rules 只能指定一次";
        return false;
    }
    line.Rules = FindPeriod(name);
    if (line.Rules == nullptr) {
        error = "未知的时期“" + std::string(name) + "”：--rules 应为 " + PeriodNames();
        return false;
    }
    seen.Rules = true;
    return true;
}

bool TakeEncoding(CommandLine &line, Seen & /*seen*/, std::string_view value, std::string &error) {
    return TakeValue(line, true, value, error);
}

bool TakeDelimiter(CommandLine &line, Seen & /*seen*/, std::string_view value, std::string &error) {
    return TakeValue(line, false, value, error);
}

bool TakeInPlace(CommandLine &line, Seen & /*seen*/, std::string_view /*value*/, std::string & /*error*/) {
    line.InPlace = true;
    return true;
}

std::string NoOutputName() {
    return "输出文件名";
}
std::string NoPeriod() {
    return "时期：" + PeriodNames();
}
std::string NoValue() {
    return "取值";
}

// Every option, each spelt once: a value follows as the next argument or after "=",
// and after a short name also attached to it ("-oOUT.csv").
struct Option {
    std::string_view Short;
    std::string_view Long;
    bool (*Take)(CommandLine &line, Seen &seen, std::string_view value, std::string &error);
    std::string (*Missing)() = nullptr;  // what a missing value is called; none for a flag
};

const std::array<Option, 5> kOptions{{
    {"-o", "--output", TakeOutput, NoOutputName},
    {"", "--rules", TakeRules, NoPeriod},
    {"", "--in-place", TakeInPlace},
    {"", "--encoding", TakeEncoding, NoValue},
    {"", "--delimiter", TakeDelimiter, NoValue},
}};

// The option an argument spells, and its value where it carries one; nullptr for
// an unknown option. `next` is the argument after it, which a value may be.
const Option *Spelt(std::string_view argument, std::optional<std::string_view> &value, bool &usesNext) {
    usesNext = false;
    for (const Option &option : kOptions) {
        const bool named = argument == option.Long || (!option.Short.empty() && argument == option.Short);
        if (named) {
            usesNext = option.Missing != nullptr;
            return &option;
        }
        if (option.Missing == nullptr) {
            continue;
        }
        if (argument.starts_with(option.Long) && argument.size() > option.Long.size() &&
            argument[option.Long.size()] == '=') {
            value = argument.substr(option.Long.size() + 1);
            return &option;
        }
        if (!option.Short.empty() && argument.starts_with(option.Short) && !argument.starts_with("--")) {
            value = argument.substr(option.Short.size());
            return &option;
        }
    }
    return nullptr;
}

// Why the mode cannot be computed under the period named, in the command line's words.
std::string RefusalOf(BatchMode mode, const PeriodRules *named, Computation::Refusal why) {
    const ModeDescription *described = nullptr;
    for (const ModeDescription &description : ModeDescriptions()) {
        if (description.Mode == mode && (described == nullptr || !description.PeriodRefusal.empty())) {
            described = &description;
        }
    }
    const std::string name(described->Name);
    if (why == Computation::Refusal::TakesNoPeriod) {
        return name + " 模式不接受 --rules；--rules 用于 " + ModeNamesTakingPeriods() + "，时期为 " +
               PeriodNames();
    }
    std::vector<std::string> fitting;
    for (const PeriodRules *period : Computation::ChoosablePeriods(mode)) {
        fitting.emplace_back(period->Name);
    }
    const std::string_view period = named != nullptr ? named->Name : Rules(PeriodId::Y2011).Name;
    return name + " 模式不适用于 " + std::string(period) + "：" + std::string(described->PeriodRefusal) +
           "；可用 --rules " + JoinedWithOr(fitting);
}

}  // namespace

std::optional<CommandLine> CommandLine::Parse(std::span<const std::string_view> arguments,
                                              std::string &error) {
    CommandLine line;
    // A request for help wins over whatever else is wrong with the line.
    for (const std::string_view argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            line.What = Action::Help;
            return line;
        }
        if (argument == "--version") {
            line.What = Action::Version;
            return line;
        }
    }
    bool haveMode = false;
    bool haveInput = false;
    bool optionsEnded = false;
    Seen seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            if (!haveMode) {
                const std::optional<BatchMode> mode = ModeNamed(argument);
                if (!mode) {
                    error = "未知的模式“" + std::string(argument) + "”：应为 " + ModeNames();
                    return std::nullopt;
                }
                line.Mode = *mode;
                haveMode = true;
            } else if (!haveInput) {
                line.Input = argument;
                haveInput = true;
            } else {
                error = "多余的参数“" + std::string(argument) + "”：只能读一个输入文件";
                return std::nullopt;
            }
        } else {
            std::optional<std::string_view> value;
            bool usesNext = false;
            const Option *option = Spelt(argument, value, usesNext);
            if (option == nullptr) {
                error = "未知的选项“" + std::string(argument) + "”";
                return std::nullopt;
            }
            if (usesNext) {
                if (i + 1 == arguments.size()) {
                    error = "选项 " + std::string(argument) + " 后面缺少" + option->Missing();
                    return std::nullopt;
                }
                value = arguments[++i];
            }
            if (!option->Take(line, seen, value.value_or(std::string_view{}), error)) {
                return std::nullopt;
            }
        }
    }
    if (!haveMode) {
        error = "缺少模式：" + ModeNames();
        return std::nullopt;
    }
    Computation::Refusal why{};
    line.Computing = Computation::Resolve(line.Mode, line.Rules, why);
    if (!line.Computing) {
        error = RefusalOf(line.Mode, line.Rules, why);
        return std::nullopt;
    }
    if (line.InPlace && (line.Input == "-" || seen.Output)) {
        error =
            line.Input == "-" ? "--in-place 需要输入文件名" : "--in-place 写回输入文件，不能再用 -o 指定输出";
        return std::nullopt;
    }
    if (line.InPlace) {
        line.Output = line.Input;
    }
    error.clear();
    return line;
}

}  // namespace taxcalc
