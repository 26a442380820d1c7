// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Workbooks made for the tests by real spreadsheet writers: openpyxl and xlwt, run by
// Debian's python3, gnumeric's converter, and Python's zipfile for hand-written parts.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace taxcalc::test {

// A folder of its own under /tmp, removed with all it holds.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    std::string Path(const std::string &name) const { return m_path + "/" + name; }
    void Write(const std::string &name, const std::string &bytes) const;
    std::string Read(const std::string &name) const;

private:
    std::string m_path;
};

// Runs `script` with Debian's python3 and these arguments; its standard output, or
// the test fails when it exits with an error.
std::string RunPython(const ScratchFolder &folder, const std::string &script,
                      const std::vector<std::string> &arguments = {});

// Converts the workbook at `from` to `to`, of the format its extension names, with
// gnumeric's ssconvert, which computes the formulas and keeps their values.
void Convert(const std::string &from, const std::string &to);

// A ZIP archive at `path` holding these parts, in this order, deflated; a part named
// "mimetype" is stored, as OpenDocument files keep it.
void ZipParts(const ScratchFolder &folder, const std::string &path,
              const std::vector<std::pair<std::string, std::string>> &parts);

}  // namespace taxcalc::test
