// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/sheet/workbook_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace taxcalc::test {

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/taxcalc-workbook-test.XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
        m_path = pattern;
    }
}

ScratchFolder::~ScratchFolder() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

void ScratchFolder::Write(const std::string &name, const std::string &bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
}

std::string ScratchFolder::Read(const std::string &name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string RunPython(const ScratchFolder &folder, const std::string &script,
                      const std::vector<std::string> &arguments) {
    folder.Write("script.py", script);
    // The folder's paths hold no quote; the arguments are paths or plain words.
    std::string command = std::string("'") + TAXCALC_PYTHON3 + "' '" + folder.Path("script.py") + "'";
    for (const std::string &argument : arguments) {
        command += " '" + argument + "'";
    }
    std::FILE *pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (pipe == nullptr) {
        return {};
    }
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    EXPECT_EQ(pclose(pipe), 0) << "python3 failed on:\n" << script;
    return output;
}

void Convert(const std::string &from, const std::string &to) {
    const std::string command =
        std::string("'") + TAXCALC_SSCONVERT + "' '" + from + "' '" + to + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

void ZipParts(const ScratchFolder &folder, const std::string &path,
              const std::vector<std::pair<std::string, std::string>> &parts) {
    std::vector<std::string> arguments{path};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string file = "part" + std::to_string(i);
        folder.Write(file, parts[i].second);
        arguments.push_back(parts[i].first);
        arguments.push_back(folder.Path(file));
    }
    RunPython(folder,
              "import sys, zipfile\n"
              "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
              "    for name, file in zip(sys.argv[2::2], sys.argv[3::2]):\n"
              "        kind = zipfile.ZIP_STORED if name == 'mimetype' else zipfile.ZIP_DEFLATED\n"
              "        z.write(file, name, compress_type=kind)\n",
              arguments);
}

}  // namespace taxcalc::test
