// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

namespace taxcalc {

// Where a run writes. A named regular file is written as an anonymous file in its
// folder (O_TMPFILE), which is named and renamed over it only once complete, so
// that a failed or killed run, even by SIGKILL, leaves nothing behind; where the file
// system has no anonymous files a short-named temporary file stands in, which a
// terminating signal (unless ignored at start) removes. Either is readable by its
// owner only until it takes the target's place. Standard output ("-") and special
// files (/dev/null, a FIFO) are written directly.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool Open(const std::string &path, std::string &error);
    std::FILE *Stream() const noexcept { return m_stream; }
    // Where the output goes until Commit, for a writer that takes a name rather than a
    // stream: the anonymous file by its descriptor's name under /proc, the temporary
    // file, or the special file itself. Empty for standard output.
    std::string Path() const;

    // Flushes, syncs and closes the file and renames it over the target.
    bool Commit(std::string &error);
    // Closes and removes the temporary file.
    void Abandon() noexcept;

private:
    bool OpenTemporary(const std::string &target, std::string &error);
    bool NameAnonymous();

    std::string m_target;
    std::string m_folder;     // the target's, with its slash; empty for the working folder
    std::string m_temporary;  // empty while the file is anonymous
    mode_t m_mode = 0;        // the mode the result takes
    bool m_anonymous = false;
    std::FILE *m_stream = nullptr;
};

}  // namespace taxcalc
