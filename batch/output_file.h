// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdio>
#include <string>

namespace taxcalc {

// Where a run writes. A named regular file is written as a temporary file beside it
// and renamed over it only once complete, so that a failed run leaves no partial
// output and an input may be its own output. Standard output ("-") and special
// files (/dev/null, a FIFO) are written directly. An interrupt (SIGINT, SIGTERM,
// SIGHUP) removes the temporary file.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool Open(const std::string &path, std::string &error);
    std::FILE *Stream() const noexcept { return m_stream; }

    // Flushes, syncs and closes the file and renames it over the target.
    bool Commit(std::string &error);
    // Closes and removes the temporary file.
    void Abandon() noexcept;

private:
    bool OpenTemporary(const std::string &target, std::string &error);

    std::string m_target;
    std::string m_temporary;
    std::FILE *m_stream = nullptr;
};

}  // namespace taxcalc
