// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/overwrite_check.h"

#include <sys/stat.h>

#include <optional>

#include "paysheet/row_evaluator.h"
#include "sheet/sheet_files.h"

namespace taxcalc {
namespace {

// Under any name or link.
bool SameFile(const std::string &a, const std::string &b) {
    struct stat first {};
    struct stat second {};
    return !a.empty() && stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

bool OverwriteCheck::Judge(const PayrollTable &table, const Computation &computation,
                           const std::string &input, const std::string &target, Verdict &verdict,
                           std::vector<std::string> &lost, std::string &error) {
    if (!OverwriteLosses(target, lost, error)) {
        return false;
    }
    if (!lost.empty()) {
        verdict = Verdict::Refuse;
        return true;
    }
    if (!SameFile(input, target)) {
        verdict = Verdict::Replace;
        return true;
    }
    std::string unused;
    if (const std::optional<RowEvaluator> evaluator =
            RowEvaluator::ForHeader(computation, table.Header(), unused);
        evaluator && !evaluator->UsersColumns().empty()) {
        lost.push_back("列" + evaluator->UsersColumns() + "（与计算结果的列同名，但不是本程序写的）");
        verdict = Verdict::Refuse;
        return true;
    }
    if (table.EscapedRows() > 0) {
        lost.push_back(std::to_string(table.EscapedRows()) + " 行中无法解码的字节（只有原文件里有）");
        verdict = Verdict::Refuse;
        return true;
    }
    if (table.Encoding() == TextEncoding::Gb18030 && !WantsXlsx(target)) {
        lost.emplace_back("GB18030 编码（将存为 UTF-8）");
    }
    verdict = Verdict::ReplaceInput;
    return true;
}

}  // namespace taxcalc
