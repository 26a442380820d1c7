// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/system_error.h"

#include <cerrno>
#include <cstring>

namespace taxcalc {

std::string SystemErrorText(int number) {
    switch (number) {
        case ENOSPC:
            return "磁盘空间不足";
        case EDQUOT:
            return "超出磁盘配额";
        case EFBIG:
            return "文件超过允许的大小";
        case EACCES:
        case EPERM:
            return "没有权限";
        case EROFS:
            return "文件系统是只读的";
        case ENOENT:
            return "文件或文件夹不存在";
        case ENOTDIR:
            return "路径中有一项不是文件夹";
        case EISDIR:
            return "这是一个文件夹";
        case ENAMETOOLONG:
            return "文件名过长";
        case EMFILE:
        case ENFILE:
            return "打开的文件过多";
        case ENOMEM:
            return "内存不足";
        case EIO:
            return "输入输出错误（磁盘或网络故障）";
        case EPIPE:
            return "管道的另一端已关闭";
        case EXDEV:
            return "不能跨文件系统改名";
        case EBUSY:
        case ETXTBSY:
            return "文件正在使用中";
        default:
            return std::strerror(number);
    }
}

}  // namespace taxcalc
