// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "sheet/system_error.h"

namespace taxcalc {
namespace {

// The named temporary file that an interrupt has to remove; a signal handler may
// only read plain storage.
std::array<char, PATH_MAX> g_pendingPath{};
volatile std::sig_atomic_t g_pending = 0;

extern "C" void RemovePendingAndDie(int signal) {
    if (g_pending != 0) {
        unlink(g_pendingPath.data());
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Every signal whose default ends the program without a core dump, and those with
// one that a user sends (SIGQUIT, SIGABRT). A signal that was ignored when the
// program started (nohup, a background job's SIGINT) stays ignored.
void SetPending(const std::string &path) {
    if (path.size() >= g_pendingPath.size()) {
        return;
    }
    std::memcpy(g_pendingPath.data(), path.c_str(), path.size() + 1);
    g_pending = 1;
    struct sigaction action {};
    action.sa_handler = RemovePendingAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM,
                             SIGPROF, SIGXCPU, SIGPIPE, SIGXFSZ, SIGPOLL}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
}

// A name of its own beside the target, short enough for any folder: a target's name
// may already take all but a byte of NAME_MAX.
std::string ShortTemporaryName(const std::string &folder) {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = folder + ".tcb-";
    unsigned long seed = static_cast<unsigned long>(getpid()) * 2654435761UL ^
                         static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(&name));
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    seed ^= static_cast<unsigned long>(now.tv_nsec);
    for (int i = 0; i < 8; ++i) {
        seed = seed * 6364136223846793005UL + 1442695040888963407UL;
        name.push_back(kLetters[(seed >> 33) % kLetters.size()]);
    }
    return name;
}

std::string DescriptorPath(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

std::string Reason(const std::string &what, const std::string &path) {
    return what + " " + path + "：" + SystemErrorText(errno);
}

}  // namespace

OutputFile::~OutputFile() {
    Abandon();
}

std::string OutputFile::Path() const {
    if (m_anonymous && m_stream != nullptr) {
        return DescriptorPath(fileno(m_stream));
    }
    return m_temporary.empty() ? m_target : m_temporary;
}

bool OutputFile::Open(const std::string &path, std::string &error) {
    if (path == "-") {
        m_stream = stdout;
        return true;
    }
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            error = "输出文件 " + path + " 是一个目录";
            return false;
        }
        if (!S_ISREG(status.st_mode)) {
            // A device or a FIFO: renaming over it would replace it.
            m_stream = std::fopen(path.c_str(), "wb");
            if (m_stream == nullptr) {
                error = Reason("无法写入", path);
                return false;
            }
            m_target = path;
            return true;
        }
        // Write beside the file that a link points to, and keep the link.
        std::array<char, PATH_MAX> real{};
        if (realpath(path.c_str(), real.data()) != nullptr) {
            return OpenTemporary(real.data(), error);
        }
    }
    return OpenTemporary(path, error);
}

// An anonymous file (O_TMPFILE) is given a name only when complete, so that even
// SIGKILL leaves nothing behind; where the file system cannot make one, a named
// temporary file is removed by Abandon or on a signal. A writer that opens its output
// by name opens the anonymous file under /proc/self/fd.
bool OutputFile::OpenTemporary(const std::string &target, std::string &error) {
    const std::size_t slash = target.rfind('/');
    m_folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) {
        error = "输出文件 " + target + " 是一个目录";
        return false;
    }
    int descriptor = -1;
    if (access("/proc/self/fd", X_OK) == 0) {
        descriptor = open(m_folder.empty() ? "." : m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            error = Reason("无法创建输出文件", target);
            return false;
        }
    }
    std::string temporary;
    if (descriptor < 0) {
        temporary = m_folder + ".tcb-XXXXXX";
        descriptor = mkstemp(temporary.data());
        if (descriptor < 0) {
            error = Reason("无法创建输出文件", target);
            return false;
        }
    }
    // The result gets the target's mode, or the mode that a new file would get, but
    // only when it takes the target's place: until then it is the owner's alone.
    struct stat status {};
    if (stat(target.c_str(), &status) == 0) {
        m_mode = status.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        m_mode = 0666 & ~mask;
    }
    fchmod(descriptor, 0600);
    m_stream = fdopen(descriptor, "wb");
    if (m_stream == nullptr) {
        error = Reason("无法创建输出文件", target);
        close(descriptor);
        if (!temporary.empty()) {
            unlink(temporary.c_str());
        }
        return false;
    }
    m_target = target;
    m_anonymous = temporary.empty();
    m_temporary = std::move(temporary);
    if (!m_anonymous) {
        SetPending(m_temporary);
    }
    return true;
}

// Gives the anonymous file a short name beside the target, to be renamed over it.
bool OutputFile::NameAnonymous() {
    const std::string source = DescriptorPath(fileno(m_stream));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ShortTemporaryName(m_folder);
        if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temporary = std::move(name);
            SetPending(m_temporary);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool OutputFile::Commit(std::string &error) {
    if (m_stream == nullptr) {
        return true;
    }
    const std::string shown = m_target.empty() ? "标准输出" : m_target;
    bool written = std::fflush(m_stream) == 0;
    if (m_temporary.empty() && !m_anonymous) {
        if (m_stream != stdout) {
            written = std::fclose(m_stream) == 0 && written;
        }
        m_stream = nullptr;
        if (!written) {
            error = Reason("写入失败", shown);
        }
        return written;
    }
    written = written && fchmod(fileno(m_stream), m_mode) == 0 && fsync(fileno(m_stream)) == 0;
    if (written && m_anonymous && !NameAnonymous()) {
        error = Reason("无法在此目录中写入", m_target);
        Abandon();
        return false;
    }
    written = std::fclose(m_stream) == 0 && written;
    m_stream = nullptr;
    if (!written || std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        error = Reason(written ? "无法改名为" : "写入失败", m_target);
        Abandon();
        return false;
    }
    g_pending = 0;
    m_temporary.clear();
    m_anonymous = false;
    return true;
}

void OutputFile::Abandon() noexcept {
    if (m_stream != nullptr && m_stream != stdout) {
        std::fclose(m_stream);
    }
    m_stream = nullptr;
    m_anonymous = false;
    if (!m_temporary.empty()) {
        g_pending = 0;
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

}  // namespace taxcalc
