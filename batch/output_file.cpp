// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace taxcalc {
namespace {

// The temporary file that an interrupt has to remove; a signal handler may only
// read plain storage.
std::array<char, PATH_MAX> g_pendingPath{};
volatile std::sig_atomic_t g_pending = 0;

extern "C" void RemovePendingAndDie(int signal) {
    if (g_pending != 0) {
        unlink(g_pendingPath.data());
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void SetPending(const std::string &path) {
    if (path.size() >= g_pendingPath.size()) {
        return;
    }
    std::memcpy(g_pendingPath.data(), path.c_str(), path.size() + 1);
    g_pending = 1;
    struct sigaction action {};
    action.sa_handler = RemovePendingAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

std::string Reason(const std::string &what, const std::string &path) {
    return what + " " + path + "：" + std::strerror(errno);
}

}  // namespace

OutputFile::~OutputFile() {
    Abandon();
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

bool OutputFile::OpenTemporary(const std::string &target, std::string &error) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) {
        error = "输出文件 " + target + " 是一个目录";
        return false;
    }
    std::string temporary = folder + "." + name + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        error = Reason("无法创建输出文件", target);
        return false;
    }
    // mkstemp makes the file private; the result gets the target's mode, or the
    // mode that a new file would get.
    struct stat status {};
    mode_t mode = 0;
    if (stat(target.c_str(), &status) == 0) {
        mode = status.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(descriptor, mode);
    m_stream = fdopen(descriptor, "wb");
    if (m_stream == nullptr) {
        error = Reason("无法创建输出文件", target);
        close(descriptor);
        unlink(temporary.c_str());
        return false;
    }
    m_target = target;
    m_temporary = std::move(temporary);
    SetPending(m_temporary);
    return true;
}

bool OutputFile::Commit(std::string &error) {
    if (m_stream == nullptr) {
        return true;
    }
    const std::string shown = m_target.empty() ? "标准输出" : m_target;
    bool written = std::fflush(m_stream) == 0;
    if (m_temporary.empty()) {
        if (m_stream != stdout) {
            written = std::fclose(m_stream) == 0 && written;
        }
        m_stream = nullptr;
        if (!written) {
            error = Reason("写入失败", shown);
        }
        return written;
    }
    written = written && fsync(fileno(m_stream)) == 0;
    written = std::fclose(m_stream) == 0 && written;
    m_stream = nullptr;
    if (!written || std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        error = Reason(written ? "无法改名为" : "写入失败", m_target);
        Abandon();
        return false;
    }
    g_pending = 0;
    m_temporary.clear();
    return true;
}

void OutputFile::Abandon() noexcept {
    if (m_stream != nullptr && m_stream != stdout) {
        std::fclose(m_stream);
    }
    m_stream = nullptr;
    if (!m_temporary.empty()) {
        g_pending = 0;
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

}  // namespace taxcalc
