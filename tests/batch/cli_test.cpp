// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Runs the real taxcalc-batch on files made here and checks exit codes and bytes.
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/sheet/workbook_files.h"
#include "tests/sheet/xls_bytes.h"

namespace {

using taxcalc::test::RunPython;
using taxcalc::test::ScratchFolder;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kInput = "姓名,年终奖,当月工资\r\n张三,18001,3500\r\n李四,18000,\r\n";
const std::string kOutput = kBom +
                            "姓名,年终奖,当月工资,2011年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,"
                            "建议税后年终奖,2010方法个税,节省,错误\r\n"
                            "张三,18001,3500,1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,\r\n"
                            "李四,18000,,540.00,17460.00,否,,,,1775.00,1235.00,\r\n";

struct Outcome {
    int Status;
    std::string Out;
    std::string Err;
};

class BatchCli : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/taxcalc-batch-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        for (const std::string &name : Files()) {
            unlink(Path(name).c_str());
        }
        rmdir(m_dir.c_str());
    }

    std::string Path(const std::string &name) const { return m_dir + "/" + name; }

    void Write(const std::string &name, const std::string &bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string &name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        if (DIR *dir = opendir(m_dir.c_str())) {
            while (const dirent *entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") {
                    names.insert(name);
                }
            }
            closedir(dir);
        }
        return names;
    }

    // How a run starts, beyond its arguments and standard input.
    struct Setting {
        std::string InputPath;     // standard input from this file instead of `input`
        int InputDescriptor = -1;  // or from this descriptor (a pipe's end)
        int ErrorDescriptor = -1;  // standard error to this descriptor instead of a file
        std::vector<int> Ignored;  // signals ignored at start, as nohup leaves SIGHUP
        rlim_t FileSizeLimit = RLIM_INFINITY;
    };

    // Standard input from `input`, standard output and error caught in files.
    pid_t Spawn(std::vector<std::string> arguments, const std::string &input, const Setting &setting) {
        Write(".stdin", input);
        arguments.insert(arguments.begin(), TAXCALC_BATCH_PROGRAM);
        std::vector<char *> argv;
        for (std::string &argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string in = setting.InputPath.empty() ? Path(".stdin") : setting.InputPath;
        if (setting.InputDescriptor >= 0) {
            posix_spawn_file_actions_adddup2(&actions, setting.InputDescriptor, 0);
        } else {
            posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        }
        posix_spawn_file_actions_addopen(&actions, 1, Path(".stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        if (setting.ErrorDescriptor >= 0) {
            posix_spawn_file_actions_adddup2(&actions, setting.ErrorDescriptor, 2);
        } else {
            posix_spawn_file_actions_addopen(&actions, 2, Path(".stderr").c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }
        // Ignored dispositions and limits pass to the child through exec.
        std::vector<struct sigaction> saved(setting.Ignored.size());
        for (std::size_t i = 0; i < setting.Ignored.size(); ++i) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigaction(setting.Ignored[i], &ignore, &saved[i]);
        }
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit wanted{setting.FileSizeLimit, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &wanted);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        setrlimit(RLIMIT_FSIZE, &limit);
        for (std::size_t i = 0; i < setting.Ignored.size(); ++i) {
            sigaction(setting.Ignored[i], &saved[i], nullptr);
        }
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0) << "could not run " << argv[0];
        return spawned == 0 ? pid : -1;
    }

    // The exit status, or 128 and the signal that ended the run.
    Outcome Wait(pid_t pid) {
        int status = -1;
        if (pid < 0 || waitpid(pid, &status, 0) != pid) {
            ADD_FAILURE() << "lost the run";
            return {-1, "", ""};
        }
        Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), Read(".stdout"),
                        Read(".stderr")};
        for (const char *name : {".stdin", ".stdout", ".stderr"}) {
            unlink(Path(name).c_str());
        }
        return outcome;
    }

    Outcome Run(std::vector<std::string> arguments, const std::string &input, const Setting &setting) {
        return Wait(Spawn(std::move(arguments), input, setting));
    }
    Outcome Run(std::vector<std::string> arguments, const std::string &input = "") {
        return Run(std::move(arguments), input, Setting());
    }

    std::string m_dir;
};

TEST_F(BatchCli, WritesTheNamedFileAndNothingElse) {
    Write("in.csv", kInput);
    const Outcome outcome = Run({"bonus", Path("in.csv"), "-o", Path("out.csv")});
    EXPECT_EQ(outcome.Status, 0);
    EXPECT_EQ(outcome.Out, "");
    EXPECT_EQ(outcome.Err, "taxcalc-batch: 编码 UTF-8（按全文判断）\n");
    EXPECT_EQ(Read("out.csv"), kOutput);
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "out.csv"}));
}

TEST_F(BatchCli, StreamsFromStandardInputToStandardOutput) {
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"bonus"}, std::vector<std::string>{"bonus", "-", "-o", "-"}}) {
        const Outcome outcome = Run(arguments, kInput);
        EXPECT_EQ(outcome.Status, 0);
        EXPECT_EQ(outcome.Out, kOutput);
    }
}

TEST_F(BatchCli, ReadsGbkAndReplacesItsOwnInputWhenAskedTo) {
    // 姓名,年终奖,当月工资 | 张三 | 李四 in GBK.
    Write("sheet.csv",
          "\xD0\xD5\xC3\xFB,\xC4\xEA\xD6\xD5\xBD\xB1,\xB5\xB1\xD4\xC2\xB9\xA4\xD7\xCA\r\n"
          "\xD5\xC5\xC8\xFD,18001,3500\r\n\xC0\xEE\xCB\xC4,18000,\r\n");
    const Outcome outcome = Run({"bonus", "--in-place", Path("sheet.csv")});
    EXPECT_EQ(outcome.Status, 0);
    EXPECT_EQ(Read("sheet.csv"), kOutput);
    EXPECT_EQ(Files(), std::set<std::string>{"sheet.csv"});
}

TEST_F(BatchCli, RefusedRowsGiveStatusOneAndAFullFile) {
    Write("in.csv", "每月薪金,三险一金\n5000,0\nabc,0\n");
    const Outcome outcome = Run({"wage", Path("in.csv"), "-o", Path("out.csv")});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(Read("out.csv"), kBom +
                                   "每月薪金,三险一金,调整前需纳税,调整后需纳税,结果,差额,错误\r\n"
                                   "5000,0,325.00,45.00,少交,280.00,\r\n"
                                   "abc,0,,,,,每月薪金：不是数字\r\n");
    EXPECT_EQ(outcome.Err,
              "taxcalc-batch: 编码 UTF-8（按全文判断）\n"
              "taxcalc-batch: 第 3 行：每月薪金：不是数字\n"
              "taxcalc-batch: 2 行中有 1 行未能计算，原因见输出的“错误”列\n");
}

TEST_F(BatchCli, FailuresLeaveTheTargetAsItWas) {
    struct Case {
        std::string Input;
        std::string Mode;
        std::string Err;
    };
    const Case cases[] = {
        {"", "bonus", "taxcalc-batch: 输入是空的，没有表头\n"},
        {"姓名,当月工资\n张三,3500\n", "bonus",
         "taxcalc-batch: 表头中没有年终奖列（列名“年终奖”或“bonus”）\n"},
        {"年终奖\n1\n\"2\n", "bonus", "taxcalc-batch: 第 3 行起的引号没有闭合\n"},
    };
    for (const Case &c : cases) {
        Write("in.csv", c.Input);
        Write("out.csv", "old");
        const Outcome outcome = Run({c.Mode, Path("in.csv"), "-o", Path("out.csv")});
        EXPECT_EQ(outcome.Status, 2);
        EXPECT_TRUE(outcome.Err.ends_with(c.Err)) << outcome.Err;
        EXPECT_EQ(Read("out.csv"), "old");
        EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "out.csv"}));
    }
}

TEST_F(BatchCli, UnusableArgumentsAndFilesGiveStatusTwo) {
    Write("in.csv", kInput);
    const std::vector<std::string> lines[] = {
        {},
        {"salary"},
        {"bonus", "--frobnicate"},
        {"bonus", Path("missing.csv")},
        {"bonus", Path("in.csv"), "-o", Path("no/such/folder.csv")},
        {"bonus", Path("in.csv"), "-o", m_dir},
        {"bonus", m_dir},
    };
    for (const auto &line : lines) {
        const Outcome outcome = Run(line);
        EXPECT_EQ(outcome.Status, 2) << testing::PrintToString(line);
        EXPECT_TRUE(outcome.Err.starts_with("taxcalc-batch: ")) << outcome.Err;
        EXPECT_EQ(outcome.Out, "");
    }
    EXPECT_EQ(Files(), std::set<std::string>{"in.csv"});
}

TEST_F(BatchCli, PlanningModesComputeUnderThePeriodNamed) {
    const Outcome split = Run({"split", "--rules", "2019"}, "姓名,月薪,年终奖\n张三,5000,36001\n");
    EXPECT_EQ(split.Status, 0);
    EXPECT_EQ(split.Out,
              kBom +
                  "姓名,月薪,年终奖,现全年个税,建议月薪,建议年终奖,建议全年个税,全年节省,计税方式,错误\r\n"
                  "张三,5000,36001,1080.10,8000.00,1.00,1080.03,0.07,单独计税,\r\n");
    const Outcome gross = Run({"gross-bonus"}, "税后年终奖\n17460.01\n-1\n");
    EXPECT_EQ(gross.Status, 1);
    EXPECT_EQ(gross.Out, kBom +
                             "税后年终奖,税前年终奖,年终奖个税,实得税后年终奖,错误\r\n"
                             "17460.01,19283.34,1823.33,17460.01,\r\n"
                             "-1,,,,税后年终奖：不能为负数\r\n");
}

TEST_F(BatchCli, GrossWageIsRefusedFrom2019WithStatusTwo) {
    Write("in.csv", "税后工资\n10000\n");
    const Outcome outcome = Run({"gross-wage", "--rules", "2019", Path("in.csv"), "-o", Path("out.csv")});
    EXPECT_EQ(outcome.Status, 2);
    EXPECT_TRUE(outcome.Err.starts_with(
        "taxcalc-batch: gross-wage 模式不适用于 2019：自 2019 年起工资按全年累计预扣"))
        << outcome.Err;
    EXPECT_EQ(Files(), std::set<std::string>{"in.csv"});
    EXPECT_EQ(Run({"gross-wage", "--rules", "2018", Path("in.csv")}).Out,
              kBom + "税后工资,税前工资,工资个税,实得税后工资,错误\r\n10000,10322.22,322.22,10000.00,\r\n");
}

TEST_F(BatchCli, HelpAndVersion) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("用法：taxcalc-batch bonus"), std::string::npos);
    EXPECT_NE(help.Out.find("Usage: taxcalc-batch bonus"), std::string::npos);
    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_TRUE(version.Out.starts_with("taxcalc-batch ")) << version.Out;
}

TEST_F(BatchCli, HelpOfOneModeAndOfNone) {
    const Outcome withhold = Run({"help", "withhold"});
    EXPECT_EQ(withhold.Status, 0);
    EXPECT_TRUE(withhold.Out.starts_with("taxcalc-batch withhold — 累计预扣")) << withhold.Out;
    EXPECT_NE(withhold.Out.find("所属月份 (month)"), std::string::npos);
    EXPECT_NE(withhold.Out.find("例 / example:"), std::string::npos);
    EXPECT_EQ(withhold.Err, "");
    const Outcome general = Run({"help"});
    EXPECT_EQ(general.Status, 0);
    EXPECT_EQ(general.Out, Run({"--help"}).Out);
    const Outcome unknown = Run({"help", "nosuchmode"});
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_EQ(unknown.Out, "");
    EXPECT_TRUE(unknown.Err.starts_with(
        "taxcalc-batch: 没有“nosuchmode”这个模式或命令：taxcalc-batch help 后应为 bonus、"))
        << unknown.Err;
    EXPECT_EQ(Files(), std::set<std::string>{});
}

// Root may write to /dev/null; renaming a file over it would replace the device.
TEST_F(BatchCli, SpecialFilesAreWrittenInPlace) {
    Write("in.csv", kInput);
    EXPECT_EQ(Run({"bonus", Path("in.csv"), "-o", "/dev/null"}).Status, 0);
    struct stat status {};
    ASSERT_EQ(stat("/dev/null", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
}

TEST_F(BatchCli, AReplacedFileKeepsItsMode) {
    Write("in.csv", kInput);
    Write("out.csv", "old");
    ASSERT_EQ(chmod(Path("out.csv").c_str(), 0640), 0);
    EXPECT_EQ(Run({"bonus", Path("in.csv"), "-o", Path("out.csv")}).Status, 0);
    struct stat status {};
    ASSERT_EQ(stat(Path("out.csv").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640U);
    EXPECT_EQ(Read("out.csv"), kOutput);
}

const std::string kPeriodHeader =
    "姓名,年终奖,当月工资,年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,建议税后年终奖,错误\r\n";

// 38566.66 with a wage of 4000: under 2008 in the 15 % row; under 2018 the base
// 37566.66 sits in 36000's zone and the 1000 short of the allowance is paid on top;
// from 2019 the wage plays no part.
TEST_F(BatchCli, EachPeriodWritesItsOwnFigures) {
    const std::string input = "姓名,年终奖,当月工资\r\n张三,38566.66,4000\r\n李四,18000,\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"2008", "张三,38566.66,4000,5660.00,32906.66,否,,,,\r\n李四,18000,,1775.00,16225.00,否,,,,\r\n"},
        {"2018",
         "张三,38566.66,4000,3546.67,35019.99,是,37000,1080.00,35920.00,\r\n"
         "李四,18000,,540.00,17460.00,否,,,,\r\n"},
        {"2019",
         "张三,38566.66,4000,3646.67,34919.99,是,36000,1080.00,34920.00,\r\n"
         "李四,18000,,540.00,17460.00,否,,,,\r\n"},
    };
    for (const auto &[period, rows] : cases) {
        const Outcome outcome = Run({"bonus", "--rules", period}, input);
        EXPECT_EQ(outcome.Status, 0) << period;
        EXPECT_EQ(outcome.Out, kBom + kPeriodHeader + rows) << period;
        EXPECT_EQ(outcome.Err, "taxcalc-batch: 编码 UTF-8（按全文判断）\n");
    }
}

// 36001 alone: 3390.10; joined to 100000 it adds 3600.10. 144001 alone: 27390.20;
// as the year's only income: 11880.20.
TEST_F(BatchCli, From2019TheYearsIncomeDecidesTheMethod) {
    const std::string input = "工号,bonus,annual_taxable\r\nA1,36001,100000\r\nA2,144001,0\r\nA3,18000,\r\n";
    const Outcome outcome = Run({"bonus", "--rules=2019"}, input);
    EXPECT_EQ(outcome.Status, 0);
    EXPECT_EQ(outcome.Out,
              kBom +
                  "工号,bonus,annual_taxable,年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,"
                  "建议税后年终奖,并入综合所得增加个税,建议计税方式,错误\r\n"
                  "A1,36001,100000,3390.10,32610.90,是,36000,1080.00,34920.00,3600.10,单独计税,\r\n"
                  "A2,144001,0,27390.20,116610.80,是,144000,14190.00,129810.00,11880.20,"
                  "并入综合所得,\r\n"
                  "A3,18000,,540.00,17460.00,否,,,,,,\r\n");
    // Before 2019 the column is only passed through.
    const Outcome y2018 = Run({"bonus", "--rules", "2018"}, input);
    EXPECT_TRUE(y2018.Out.starts_with(kBom + "工号,bonus,annual_taxable,年终奖个税,税后年终奖,是否盲区,"
                                             "建议年终奖,建议税额,建议税后年终奖,错误\r\n"))
        << y2018.Out;
}

TEST_F(BatchCli, Rules2011IsTheWindowByteForByte) {
    const std::string input =
        kInput + "王五,0.125,\r\n赵六,18100,3456.78\r\n钱七,-5,\r\n孙八,abc,\r\n周九,1e400,\r\n" + "吴十,1" +
        std::string(400, '0') + ",\r\n";
    const Outcome window = Run({"bonus"}, input);
    const Outcome y2011 = Run({"bonus", "--rules", "2011"}, input);
    EXPECT_EQ(window.Status, 1);
    EXPECT_EQ(y2011.Status, window.Status);
    EXPECT_EQ(y2011.Out, window.Out);
    EXPECT_EQ(y2011.Err, window.Err);
}

TEST_F(BatchCli, RefusesAnUnknownPeriodOrOneForTheWageMode) {
    Write("in.csv", kInput);
    const std::vector<std::string> lines[] = {
        {"bonus", "--rules", "2020", Path("in.csv"), "-o", Path("out.csv")},
        {"bonus", "--rules", "", Path("in.csv"), "-o", Path("out.csv")},
        {"wage", "--rules", "2011", Path("in.csv"), "-o", Path("out.csv")},
        {"bonus", Path("in.csv"), "-o", Path("out.csv"), "--rules"},
        {"bonus", "--rules=2019", "--rules=2018", Path("in.csv"), "-o", Path("out.csv")},
    };
    for (const auto &line : lines) {
        const Outcome outcome = Run(line);
        EXPECT_EQ(outcome.Status, 2) << testing::PrintToString(line);
        EXPECT_EQ(outcome.Out, "");
        EXPECT_TRUE(outcome.Err.starts_with("taxcalc-batch: ")) << outcome.Err;
    }
    EXPECT_EQ(Files(), std::set<std::string>{"in.csv"});
}

// A run reading a pipe, fed `first` and caught once it has taken that in: it is
// past opening its output then, and waits for more.
struct FedRun {
    pid_t Pid;
    int Pipe;  // the end to write to
};

template <typename SpawnIt>
FedRun StartFed(SpawnIt spawn, const std::string &first) {
    int ends[2];
    EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0);
    const pid_t pid = spawn(ends[0]);
    close(ends[0]);
    EXPECT_GT(pid, 0);
    EXPECT_EQ(write(ends[1], first.data(), first.size()), static_cast<ssize_t>(first.size()));
    for (int i = 0; i < 2000; ++i) {
        int unread = 0;
        if (ioctl(ends[1], FIONREAD, &unread) != 0 || unread == 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {pid, ends[1]};
}

TEST_F(BatchCli, SignalsIgnoredAtStartStayIgnored) {
    const FedRun run = StartFed(
        [&](int input) {
            Setting setting;
            setting.InputDescriptor = input;
            setting.Ignored = {SIGHUP, SIGINT};
            return Spawn({"bonus", "-o", Path("out.csv")}, "", setting);
        },
        "年终奖\n18001\n");
    ASSERT_GT(run.Pid, 0);
    kill(run.Pid, SIGHUP);
    kill(run.Pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // A run that the signals killed has closed its end; this test must not die of it.
    struct sigaction ignore {};
    struct sigaction saved {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &saved);
    EXPECT_EQ(write(run.Pipe, "5\n", 2), 2);
    sigaction(SIGPIPE, &saved, nullptr);
    close(run.Pipe);
    const Outcome outcome = Wait(run.Pid);
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_TRUE(Read("out.csv").ends_with("\r\n5,0.15,4.85,否,,,,0.25,0.10,\r\n")) << Read("out.csv");
}

TEST_F(BatchCli, AKilledRunLeavesNoFileBehind) {
    Write("out.csv", "old");
    const FedRun run = StartFed(
        [&](int input) {
            Setting setting;
            setting.InputDescriptor = input;
            return Spawn({"bonus", "-o", Path("out.csv")}, "", setting);
        },
        "年终奖\n18001\n");
    ASSERT_GT(run.Pid, 0);
    kill(run.Pid, SIGKILL);
    close(run.Pipe);
    EXPECT_EQ(Wait(run.Pid).Status, 128 + SIGKILL);
    EXPECT_EQ(Files(), (std::set<std::string>{"out.csv"}));
    EXPECT_EQ(Read("out.csv"), "old");
}

// Standard error into a pipe that nobody reads (head has quit) or the file size
// limit: the run goes on, or fails as a write, instead of being killed.
TEST_F(BatchCli, BrokenPipesAndFileSizeLimitsDoNotKillTheRun) {
    std::string input = "年终奖\nx\n";
    for (int i = 0; i < 500; ++i) {
        input += "18001\n";
    }
    Write("in.csv", input);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    close(pipe[0]);
    Setting closedError;
    closedError.ErrorDescriptor = pipe[1];
    const Outcome piped = Run({"bonus", Path("in.csv"), "-o", Path("out.csv")}, "", closedError);
    close(pipe[1]);
    EXPECT_EQ(piped.Status, 1);
    const std::string complete = Read("out.csv");
    EXPECT_TRUE(complete.ends_with(
        "\r\n18001," + std::string("1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,\r\n")));

    Write("out.csv", "old");
    Setting limited;
    limited.FileSizeLimit = 4096;
    const Outcome capped = Run({"bonus", Path("in.csv"), "-o", Path("out.csv")}, "", limited);
    EXPECT_EQ(capped.Status, 2);
    EXPECT_NE(capped.Err.find("写入失败"), std::string::npos) << capped.Err;
    EXPECT_NE(capped.Err.find("文件超过允许的大小"), std::string::npos) << capped.Err;
    EXPECT_EQ(Read("out.csv"), "old");
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "out.csv"}));
}

TEST_F(BatchCli, TheInputIsItsOwnOutputOnlyWhenAskedAndNeverLost) {
    const std::string input = "年终奖,note\n18001,\xE5\xB9\xB4\n";
    Write("in.csv", input);
    ASSERT_EQ(link(Path("in.csv").c_str(), Path("linked.csv").c_str()), 0);
    ASSERT_EQ(symlink(Path("in.csv").c_str(), Path("symlinked.csv").c_str()), 0);
    const std::vector<std::string> refused[] = {
        {"bonus", Path("in.csv"), "-o", Path("in.csv")},
        {"bonus", Path("in.csv"), "-o", Path("linked.csv")},
        {"bonus", Path("symlinked.csv"), "-o", Path("in.csv")},
        {"bonus", "-", "-o", Path("in.csv")},
    };
    for (const auto &line : refused) {
        Setting fromFile;
        fromFile.InputPath = Path("in.csv");
        const Outcome outcome = Run(line, "", fromFile);
        EXPECT_EQ(outcome.Status, 2) << testing::PrintToString(line);
        EXPECT_NE(outcome.Err.find("就是输入文件"), std::string::npos) << outcome.Err;
        EXPECT_NE(outcome.Err.find("--in-place"), std::string::npos) << outcome.Err;
        EXPECT_EQ(Read("in.csv"), input);
    }
    // A byte that cannot be decoded would survive only as \xHH: the original stays.
    const std::string broken = "年终奖,note\n18001,\xE5\xB9\n";
    Write("in.csv", broken);
    const Outcome kept = Run({"bonus", "--in-place", Path("in.csv")});
    EXPECT_EQ(kept.Status, 2);
    EXPECT_NE(kept.Err.find("没有写回"), std::string::npos) << kept.Err;
    EXPECT_EQ(Read("in.csv"), broken);

    Write("in.csv", input);
    EXPECT_EQ(Run({"bonus", "--in-place", Path("symlinked.csv")}).Status, 0);
    EXPECT_TRUE(Read("in.csv").ends_with(
        "\r\n18001,年,1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,\r\n"));
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "linked.csv", "symlinked.csv"}));
}

// The longest name a folder takes; a temporary name beside it must not be longer.
TEST_F(BatchCli, AnOutputNameOfTheLongestLengthIsWritten) {
    Write("in.csv", kInput);
    const std::string name = std::string(251, 'n') + ".csv";
    ASSERT_EQ(name.size(), 255U);
    const Outcome outcome = Run({"bonus", Path("in.csv"), "-o", Path(name)});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(Read(name), kOutput);
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", name}));
}

// A payroll saved by openpyxl: a leading-zero ID, shared strings, an empty row and a
// cell that holds no number.
constexpr const char *kMakePayroll = R"(import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.append(["工号", "姓名", "年终奖", "当月工资"])
ws.append(["000123", "张三", 18001, 3500])
ws.append(["1002", "李四", 18000, None])
ws.append([])
ws.append(["1004", "赵六", "一万", 3500])
wb.save(sys.argv[1])
)";

// Every row of the first worksheet, a cell as its value's repr and its number format
// when it has one; then the frozen cell and the header's and a body cell's boldness.
constexpr const char *kShowWorkbook = R"(import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
print(ws.freeze_panes, ws["A1"].font.b, ws["A2"].font.b)
for row in ws.iter_rows():
    cells = [repr(c.value) + ("" if c.number_format == "General" else ":" + c.number_format) for c in row]
    while cells and cells[-1] == "None":
        cells.pop()
    print(",".join(cells))
)";

const std::string kBonusHeads =
    "2011年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,建议税后年终奖,2010方法个税,节省,错误";

TEST_F(BatchCli, ReadsAWorkbookByItsContentWhateverItsName) {
    ScratchFolder scratch;
    RunPython(scratch, kMakePayroll, {Path("payroll.dat")});
    const std::string expected =
        kBom + "工号,姓名,年终奖,当月工资," + kBonusHeads +
        "\r\n"
        "000123,张三,18001,3500,1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,\r\n"
        "1002,李四,18000,,540.00,17460.00,否,,,,1775.00,1235.00,\r\n"
        ",,,,,,,,,,,,\r\n"
        "1004,赵六,一万,3500,,,,,,,,,年终奖：不是数字\r\n";
    const std::string err =
        "taxcalc-batch: 第 5 行：年终奖：不是数字\n"
        "taxcalc-batch: 4 行中有 1 行空行（原样保留，未计算），1 行未能计算，原因见输出的“错误”列\n";
    for (const bool piped : {false, true}) {
        SCOPED_TRACE(piped ? "from standard input" : "from a file");
        const Outcome outcome =
            piped ? Run({"bonus"}, Read("payroll.dat")) : Run({"bonus", Path("payroll.dat")});
        EXPECT_EQ(outcome.Status, 1);
        EXPECT_EQ(outcome.Out, expected);
        EXPECT_EQ(outcome.Err, err);
    }
}

TEST_F(BatchCli, WritesAWorkbookWhenTheOutputNameEndsInXlsx) {
    ScratchFolder scratch;
    RunPython(scratch, kMakePayroll, {Path("payroll.xlsx")});
    const Outcome outcome = Run({"bonus", Path("payroll.xlsx"), "-o", Path("结果.XLSX")});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(Files(), (std::set<std::string>{"payroll.xlsx", "结果.XLSX"}));
    EXPECT_EQ(
        RunPython(scratch, kShowWorkbook, {Path("结果.XLSX")}),
        "A2 True False\n"
        "'工号','姓名','年终奖','当月工资','2011年终奖个税','税后年终奖','是否盲区','建议年终奖','建议税额',"
        "'建议税后年终奖','2010方法个税','节省','错误'\n"
        "'000123','张三',18001,3500,1695.1:0.00,16305.9:0.00,'是',18000,540:0.00,17460:0.00,1775.1:0.00,"
        "80:0.00\n"
        "'1002','李四',18000,None,540:0.00,17460:0.00,'否',None,None,None,1775:0.00,1235:0.00\n"
        "\n"
        "'1004','赵六','一万',3500,None,None,None,None,None,None,None,None,'年终奖：不是数字'\n");

    // A CSV says nothing of types: its cells stay text, digits and zeros as written.
    Write("in.csv", "工号,年终奖\r\n007,18000\r\n");
    EXPECT_EQ(Run({"bonus", Path("in.csv"), "-o", Path("out.xlsx")}).Status, 0);
    EXPECT_EQ(
        RunPython(scratch, kShowWorkbook, {Path("out.xlsx")}),
        "A2 True False\n"
        "'工号','年终奖','2011年终奖个税','税后年终奖','是否盲区','建议年终奖','建议税额','建议税后年终奖',"
        "'2010方法个税','节省','错误'\n"
        "'007','18000',540:0.00,17460:0.00,'否',None,None,None,1775:0.00,1235:0.00\n");
}

TEST_F(BatchCli, RefusesSpreadsheetsItCannotReadAndWritesNothing) {
    ScratchFolder scratch;
    Write("old.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(1000, '\0'));
    taxcalc::test::ZipParts(
        scratch, Path("sheet.ods"),
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", "<x/>"}});
    std::string noise;
    for (unsigned value = 2011; noise.size() < 4096;) {
        value = value * 1103515245 + 12345;
        noise += static_cast<char>(value >> 16);
    }
    Write("noise.csv", noise);
    RunPython(scratch, kMakePayroll, {Path("whole.xlsx")});
    Write("cut.xlsx", Read("whole.xlsx").substr(0, 300));
    unlink(Path("whole.xlsx").c_str());

    const std::set<std::string> inputs{"old.xls", "sheet.ods", "noise.csv", "cut.xlsx"};
    for (const std::string &name : inputs) {
        SCOPED_TRACE(name);
        const Outcome outcome = Run({"bonus", Path(name), "-o", Path("out.xlsx")});
        EXPECT_EQ(outcome.Status, 2);
        EXPECT_NE(
            outcome.Err.find("能读取的格式：UTF-8 或 GB18030 编码的 CSV 文件，以及 .xlsx 和 .xls 工作簿"),
            std::string::npos)
            << outcome.Err;
        EXPECT_EQ(Files(), inputs);
    }
}

TEST_F(BatchCli, AWorkbookIsWrittenInPlaceAndItsFormerResultsReplaced) {
    ScratchFolder scratch;
    RunPython(scratch, kMakePayroll, {Path("payroll.xlsx")});
    ASSERT_EQ(Run({"bonus", Path("payroll.xlsx"), "-o", Path("copy.xlsx")}).Status, 1);
    const std::string once = RunPython(scratch, kShowWorkbook, {Path("copy.xlsx")});
    unlink(Path("copy.xlsx").c_str());
    // The second run finds its own columns and replaces them: the sheet stays the same.
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const Outcome outcome = Run({"bonus", "--in-place", Path("payroll.xlsx")});
        EXPECT_EQ(outcome.Status, 1) << outcome.Err;
        EXPECT_EQ(RunPython(scratch, kShowWorkbook, {Path("payroll.xlsx")}), once);
        EXPECT_EQ(Files(), std::set<std::string>{"payroll.xlsx"});
    }
}

TEST_F(BatchCli, AGbkCsvWithSemicolonsAndBlankLinesBeforeItsHeaderBecomesAWorkbook) {
    ScratchFolder scratch;
    // 工号;年终奖 in GBK, after a blank line.
    Write("in.csv", "\r\n\xB9\xA4\xBA\xC5;\xC4\xEA\xD6\xD5\xBD\xB1\r\n007;18000\r\n");
    const Outcome outcome = Run({"bonus", Path("in.csv"), "-o", Path("out.xlsx")});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Err.find("编码 GB18030"), std::string::npos) << outcome.Err;
    EXPECT_NE(outcome.Err.find("分隔符 分号"), std::string::npos) << outcome.Err;
    // The blank line keeps its place; the header below it is the bold, frozen one.
    EXPECT_EQ(
        RunPython(scratch, kShowWorkbook, {Path("out.xlsx")}),
        "A3 False True\n"
        "\n"
        "'工号','年终奖','2011年终奖个税','税后年终奖','是否盲区','建议年终奖','建议税额','建议税后年终奖',"
        "'2010方法个税','节省','错误'\n"
        "'007','18000',540:0.00,17460:0.00,'否',None,None,None,1775:0.00,1235:0.00\n");
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "out.xlsx"}));
}

TEST_F(BatchCli, AWorkbookThatCannotBeWrittenLeavesTheTargetAsItWas) {
    // A CSV cell may be longer than an .xlsx cell can be.
    Write("in.csv", "年终奖,备注\r\n18000," + std::string(40000, 'x') + "\r\n");
    Write("out.xlsx", "old");
    const Outcome outcome = Run({"bonus", Path("in.csv"), "-o", Path("out.xlsx")});
    EXPECT_EQ(outcome.Status, 2);
    EXPECT_NE(outcome.Err.find("32767"), std::string::npos) << outcome.Err;
    EXPECT_EQ(Read("out.xlsx"), "old");
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "out.xlsx"}));
}

// A workbook being written, before its rows are all in: what is open in the output's
// folder is the owner's alone, and a kill leaves nothing of it.
TEST_F(BatchCli, AKilledWorkbookRunLeavesNothingAndShowedNoOne) {
    Write("out.xlsx", "old");
    const FedRun run = StartFed(
        [&](int input) {
            Setting setting;
            setting.InputDescriptor = input;
            return Spawn({"bonus", "-o", Path("out.xlsx")}, "", setting);
        },
        "姓名,年终奖\n张三,18001\n");
    ASSERT_GT(run.Pid, 0);
    // The run opens its output once it has read the header, whenever a busy machine
    // lets it: the test waits for that, with a deadline, not for a moment.
    const std::string descriptors = "/proc/" + std::to_string(run.Pid) + "/fd";
    const auto openHere = [&] {
        std::vector<mode_t> modes;
        if (DIR *dir = opendir(descriptors.c_str())) {
            while (const dirent *entry = readdir(dir)) {
                const std::string link = descriptors + "/" + entry->d_name;
                char target[4096] = {};
                struct stat status {};
                if (readlink(link.c_str(), target, sizeof target - 1) > 0 &&
                    std::string(target).starts_with(m_dir) &&
                    !std::string(target).starts_with(Path(".std")) && stat(link.c_str(), &status) == 0) {
                    modes.push_back(status.st_mode & 07777);
                }
            }
            closedir(dir);
        }
        return modes;
    };
    std::vector<mode_t> modes = openHere();
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         modes.empty() && std::chrono::steady_clock::now() < deadline; modes = openHere()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(modes, std::vector<mode_t>{0600});
    kill(run.Pid, SIGKILL);
    close(run.Pipe);
    EXPECT_EQ(Wait(run.Pid).Status, 128 + SIGKILL);
    EXPECT_EQ(Files(), (std::set<std::string>{"out.xlsx"}));
    EXPECT_EQ(Read("out.xlsx"), "old");
}

// The workbook's writer spools its sheet where the run cannot see each write: a limit
// that cuts the spool short must fail the run, not give a short workbook.
TEST_F(BatchCli, AWorkbookCutShortIsAFailureAndTheTargetStays) {
    std::string input = "工号,姓名,年终奖\n";
    for (int i = 0; i < 3000; ++i) {
        input += std::to_string(100000 + i) + ",张三,18001\n";
    }
    Write("in.csv", input);
    Write("out.xlsx", "old");
    Setting limited;
    limited.FileSizeLimit = 512 * 1024;
    const Outcome outcome = Run({"bonus", Path("in.csv"), "-o", Path("out.xlsx")}, "", limited);
    EXPECT_EQ(outcome.Status, 2);
    EXPECT_NE(outcome.Err.find("写入失败"), std::string::npos) << outcome.Err;
    EXPECT_EQ(Read("out.xlsx"), "old");
    EXPECT_EQ(Files(), (std::set<std::string>{"in.csv", "out.xlsx"}));
    // Unlimited, the same run writes every row.
    EXPECT_EQ(Run({"bonus", Path("in.csv"), "-o", Path("out.xlsx")}).Status, 0);
    EXPECT_NE(Read("out.xlsx"), "old");
}

// Written back as one plain sheet, a workbook would lose what else it holds: the run
// refuses and says what; the file stays as it was.
TEST_F(BatchCli, AWorkbookIsNotWrittenBackOverWhatItWouldLose) {
    ScratchFolder scratch;
    RunPython(scratch, R"PY(import sys, openpyxl
from openpyxl.styles import Font, PatternFill
def book(path, change):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "年终奖"
    ws.append(["工号", "年终奖"])
    ws.append(["001", 18001])
    change(wb, ws)
    wb.save(path)
book(sys.argv[1], lambda wb, ws: wb.create_sheet("汇总").append(["=SUM(年终奖!B:B)"]))
book(sys.argv[2], lambda wb, ws: ws.append(["002", "=B2*2"]))
book(sys.argv[3], lambda wb, ws: ws.merge_cells("A3:B3"))
def styled(wb, ws):
    ws["B2"].fill = PatternFill("solid", fgColor="FFFF00")
    ws["A2"].font = Font(name="宋体", size=14)
    ws.column_dimensions["B"].width = 30
book(sys.argv[4], styled)
book(sys.argv[5], lambda wb, ws: ws["A1"].__setattr__("font", Font(bold=True)))
import xlwt
old = xlwt.Workbook()
sheet = old.add_sheet("年终奖")
sheet.write(0, 0, "年终奖")
sheet.write(1, 0, 18001)
old.save(sys.argv[6])
)PY",
              {Path("sheets.xlsx"), Path("formula.xlsx"), Path("merged.xlsx"), Path("styled.xlsx"),
               Path("plain.xlsx"), Path("old.xls")});
    const std::pair<std::string, std::string> refused[] = {
        {"sheets.xlsx", "会丢失其中的工作表“汇总”，没有写回"},
        {"formula.xlsx", "会丢失其中的公式，没有写回"},
        {"merged.xlsx", "会丢失其中的合并单元格，没有写回"},
        {"styled.xlsx", "会丢失其中的填充颜色、字体、列宽，没有写回"},
        {"old.xls", "会丢失其中的Excel 97-2003 工作簿的格式（写回的将是 CSV 文本），没有写回"},
    };
    for (const auto &[name, lost] : refused) {
        SCOPED_TRACE(name);
        const std::string before = Read(name);
        const Outcome outcome = Run({"bonus", "--in-place", Path(name)});
        EXPECT_EQ(outcome.Status, 2);
        EXPECT_NE(outcome.Err.find(lost), std::string::npos) << outcome.Err;
        EXPECT_EQ(Read(name), before);
    }
    // A bold header is what the written sheet has too.
    const Outcome plain = Run({"bonus", "--in-place", Path("plain.xlsx")});
    EXPECT_EQ(plain.Status, 0) << plain.Err;
    EXPECT_NE(RunPython(scratch, kShowWorkbook, {Path("plain.xlsx")}).find("540:0.00,17460:0.00"),
              std::string::npos);
}

TEST_F(BatchCli, ListsTheRulesOfAYear) {
    const Outcome year2026 = Run({"rules", "2026"});
    EXPECT_EQ(year2026.Status, 0);
    EXPECT_EQ(year2026.Err, "");
    EXPECT_EQ(year2026.Out.rfind("2026 年度", 0), 0u) << year2026.Out;
    EXPECT_EQ(year2026.Out.find("到期"), std::string::npos) << year2026.Out;
    const Outcome year2028 = Run({"rules", "2028"});
    EXPECT_EQ(year2028.Status, 0);
    EXPECT_NE(year2028.Out.find("全年一次性奖金单独计税\n  已于 2027-12-31 到期"), std::string::npos)
        << year2028.Out;
    EXPECT_NE(year2028.Out.find("年度汇算免予补税\n  已于 2027-12-31 到期"), std::string::npos)
        << year2028.Out;
    // No year: the current one.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const Outcome current = Run({"rules"});
    EXPECT_EQ(current.Status, 0);
    EXPECT_EQ(current.Out.rfind(std::to_string(local.tm_year + 1900) + " 年度", 0), 0u) << current.Out;
    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"rules", "20x6"}, std::vector<std::string>{"rules", "2018"},
          std::vector<std::string>{"rules", "2026", "2027"}}) {
        const Outcome outcome = Run(bad);
        EXPECT_EQ(outcome.Status, 2) << bad[1];
        EXPECT_EQ(outcome.Out, "") << bad[1];
        EXPECT_NE(outcome.Err, "") << bad[1];
    }
}

// 2028 by the permanent rules through the real program: the bonus joined (120000 -
// 60000 at 10% less 2520 is 3480), no separate tax, and 280 to pay although it is
// below 400; 2027 keeps the bonus apart (1480 + 600) and refunds 1120.
TEST_F(BatchCli, ReconcilesTwentyTwentyEightByThePermanentRules) {
    const Outcome outcome = Run({"reconcile"},
                                "工资薪金收入,全年一次性奖金,已缴税额,年度\n"
                                "100000,20000,3200,2028\n100000,20000,3200,2027\n");
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_NE(outcome.Out.find("\r\n100000,20000,3200,2028,100000.00,60000.00,,3480.00,并入综合所得,3480.00,"
                               "280.00,补税,\r\n"),
              std::string::npos)
        << outcome.Out;
    EXPECT_NE(
        outcome.Out.find("\r\n100000,20000,3200,2027,100000.00,40000.00,2080.00,3480.00,单独计税,2080.00,"
                         "-1120.00,退税,\r\n"),
        std::string::npos)
        << outcome.Out;
    EXPECT_NE(outcome.Err.find("全年一次性奖金单独计税已于 2027-12-31 到期"), std::string::npos)
        << outcome.Err;
}

}  // namespace

namespace {

// One year's payroll with a column for every mode, written by openpyxl with formulas
// (三险一金 a =SUM, a month's income the month before's), then converted by gnumeric,
// which computes them, to .xls and .xlsx; and the same table as CSV, the formulas'
// values worked out by hand. A boolean in a flag column and in a column passed
// through, a date, and an error where one mode reads an amount.
constexpr const char *kYearBook = R"PY(import sys, datetime, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "工资"
ws.append(["工号", "姓名", "所属月份", "本期收入", "养老", "医疗", "三险一金", "按6万元减除", "备注",
           "任职受雇从业日期", "年终奖", "当月工资", "每月薪金", "税后年终奖", "税后工资", "月薪", "收入",
           "工资薪金收入"])
rows = [["000123", "张三", "2026-01", 30000, 3000, 1400],
        ["000123", "张三", "2026-02", "=D2", 3000, 1400],
        ["000123", "张三", "2026-03", 31000.5, 3000, 1400],
        ["000124", "李四", "2026-01", 8000, 0, 0],
        ["000125", "王五", "2026-01", "=1/0", 0, 0]]
for r, row in enumerate(rows, start=2):
    ws.append(row + ["=SUM(E%d:F%d)" % (r, r), r == 5, r == 3, datetime.date(2020, 1, 1),
                     18001, 3500, 8000, 17000, 6000, 8000, 5000, 120000])
    ws.cell(r, 10).number_format = "yyyy-mm-dd"
wb.save(sys.argv[1])
)PY";

const std::string kYearCsv =
    "工号,姓名,所属月份,本期收入,养老,医疗,三险一金,按6万元减除,备注,任职受雇从业日期,年终奖,当月工资,"
    "每月薪金,"
    "税后年终奖,税后工资,月薪,收入,工资薪金收入\r\n"
    "000123,张三,2026-01,30000,3000,1400,4400,FALSE,FALSE,2020-01-01,18001,3500,8000,17000,6000,8000,5000,"
    "120000\r\n"
    "000123,张三,2026-02,30000,3000,1400,4400,FALSE,TRUE,2020-01-01,18001,3500,8000,17000,6000,8000,5000,"
    "120000\r\n"
    "000123,张三,2026-03,31000.5,3000,1400,4400,FALSE,FALSE,2020-01-01,18001,3500,8000,17000,6000,8000,5000,"
    "120000\r\n"
    "000124,李四,2026-01,8000,0,0,0,TRUE,FALSE,2020-01-01,18001,3500,8000,17000,6000,8000,5000,120000\r\n"
    "000125,王五,2026-01,#DIV/"
    "0!,0,0,0,FALSE,FALSE,2020-01-01,18001,3500,8000,17000,6000,8000,5000,120000\r\n";

}  // namespace

TEST_F(BatchCli, AnXlsPayrollWithFormulasGivesWhatItsXlsxAndCsvTwinsGive) {
    ScratchFolder scratch;
    RunPython(scratch, kYearBook, {Path("source.xlsx")});
    taxcalc::test::Convert(Path("source.xlsx"), Path("year.xls"));
    taxcalc::test::Convert(Path("source.xlsx"), Path("year.xlsx"));
    Write("year.csv", kYearCsv);
    for (const char *mode :
         {"bonus", "wage", "gross-bonus", "gross-wage", "split", "withhold", "remuneration", "reconcile"}) {
        SCOPED_TRACE(mode);
        const Outcome csv = Run({mode, Path("year.csv")});
        const Outcome xlsx = Run({mode, Path("year.xlsx")});
        const Outcome xls = Run({mode, Path("year.xls")});
        EXPECT_EQ(xls.Status, csv.Status) << xls.Err;
        EXPECT_EQ(xls.Out, csv.Out);
        EXPECT_EQ(xls.Status, xlsx.Status) << xls.Err;
        EXPECT_EQ(xls.Out, xlsx.Out);
        EXPECT_EQ(xls.Err, xlsx.Err);
        if (std::string(mode) == "withhold") {
            // January: (30000 - 5000 - 4400) × 3%, the error refused by its name.
            EXPECT_NE(xls.Out.find(",618.00,"), std::string::npos) << xls.Out;
            EXPECT_NE(xls.Out.find("#DIV/0!"), std::string::npos) << xls.Out;
            EXPECT_EQ(xls.Status, 1);
        }
    }
}

// Damage, encryption and the sheet read, as the whole program tells them.
TEST_F(BatchCli, AnXlsWorkbookIsRefusedWithItsReasonOrReadSayingWhichSheet) {
    using namespace taxcalc::test;
    const std::string cells = LabelCell(0, 0, u"年终奖") + NumberCell(1, 0, 18001);
    std::string zeroed = XlsFile(cells + NumberCell(2, 0, 18000) + NumberCell(3, 0, 18002));
    zeroed.replace(zeroed.size() - 4096, 512, 512, '\0');
    Write("zeroed.xls", zeroed);
    Write("locked.xls", XlsFile(cells, BiffRecord(0x002F, std::string(54, '\1'))));
    Write("sheets.xls",
          CompoundBytes(
              {{u"Workbook", BiffWorkbook({}, {{u"旧表", cells, 1}, {u"新表", LabelCell(0, 0, u"x")}})}}));
    const std::pair<std::string, std::string> cases[] = {
        {"zeroed.xls", "文件已损坏"},
        {"locked.xls", "工作簿已加密"},
        {"sheets.xls", "读取的是工作表“旧表”（隐藏），另有 1 个工作表未读取"},
    };
    for (const auto &[name, said] : cases) {
        SCOPED_TRACE(name);
        const Outcome outcome = Run({"bonus", Path(name), "-o", Path("out.csv")});
        EXPECT_EQ(outcome.Status, name == "sheets.xls" ? 0 : 2) << outcome.Err;
        EXPECT_NE(outcome.Err.find(said), std::string::npos) << outcome.Err;
    }
}

// A name that promises a format not written is refused before anything is written.
TEST_F(BatchCli, RefusesAnOutputNameOfAFormatItDoesNotWrite) {
    Write("in.csv", kInput);
    for (const auto &[name, said] :
         std::vector<std::pair<std::string, std::string>>{{"out.xls", "不能写 .xls，请用 .xlsx 或 .csv"},
                                                          {"out.XLS", "不能写 .xls，请用 .xlsx 或 .csv"},
                                                          {"out.xlsm", "不能写 .xlsm，请用 .xlsx 或 .csv"},
                                                          {"out.ods", "不能写 .ods，请用 .xlsx 或 .csv"}}) {
        SCOPED_TRACE(name);
        const Outcome outcome = Run({"bonus", Path("in.csv"), "-o", Path(name)});
        EXPECT_EQ(outcome.Status, 2);
        EXPECT_NE(outcome.Err.find(said), std::string::npos) << outcome.Err;
        EXPECT_EQ(Files(), std::set<std::string>{"in.csv"});
    }
}

// Columns of the user's own that carry the names of the mode's are not lost to
// --in-place; the program's own output is written again in place.
TEST_F(BatchCli, InPlaceKeepsTheUsersColumnsOfTheModesNames) {
    const std::string users =
        "工号,所属月份,本期收入,累计收入,本期应预扣预缴税额\r\n1,2026-01,30000,99999,123\r\n";
    Write("users.csv", users);
    const Outcome refused = Run({"withhold", "--in-place", Path("users.csv")});
    EXPECT_EQ(refused.Status, 2);
    EXPECT_NE(refused.Err.find("会丢失其中的列“累计收入”、“本期应预扣预缴税额”"), std::string::npos)
        << refused.Err;
    EXPECT_EQ(Read("users.csv"), users);
    EXPECT_EQ(Files(), std::set<std::string>{"users.csv"});

    Write("in.csv", kInput);
    ASSERT_EQ(Run({"bonus", Path("in.csv"), "-o", Path("own.csv")}).Status, 0);
    const Outcome again = Run({"bonus", "--in-place", Path("own.csv")});
    EXPECT_EQ(again.Status, 0) << again.Err;
    EXPECT_EQ(Read("own.csv"), kOutput);
}
