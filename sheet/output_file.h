// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdio>
#include <string>

namespace taxcalc {

// Where a run writes. A named regular file is written as an anonymous file in its
// folder (O_TMPFILE), which is named and renamed over it only once complete, so
// that a failed or killed run leaves no partial output; where the file system has
// no anonymous files a short-named temporary file stands in, which an interrupt
// (SIGINT, SIGTERM, SIGHUP, unless ignored at start) removes. Standard output ("-")
// and special files (/dev/null, a FIFO) are written directly.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Named: the temporary file must have a name from the start, for a writer that
    // opens its output by name (it is removed on failure or an interrupt all the same).
    enum class Kind { Any, Named };

    bool Open(const std::string &path, std::string &error, Kind kind = Kind::Any);
    std::FILE *Stream() const noexcept { return m_stream; }
    // Where the output goes until Commit, for a writer that takes a name rather than a
    // stream: the named temporary file (see Kind::Named), or the special file itself.
    // Empty for standard output.
    const std::string &Path() const noexcept { return m_temporary.empty() ? m_target : m_temporary; }

    // Flushes, syncs and closes the file and renames it over the target.
    bool Commit(std::string &error);
    // Closes and removes the temporary file.
    void Abandon() noexcept;

private:
    bool OpenTemporary(const std::string &target, std::string &error, Kind kind);
    bool NameAnonymous();

    std::string m_target;
    std::string m_folder;     // the target's, with its slash; empty for the working folder
    std::string m_temporary;  // empty while the file is anonymous
    bool m_anonymous = false;
    std::FILE *m_stream = nullptr;
};

}  // namespace taxcalc
