#include "app/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/error_reporter.h"

namespace {

bool writeAll(int fd, const std::string& contents) {
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

bool fail(std::string* reason, const std::string& what, int error) {
    if (reason != nullptr) {
        *reason = what + ": " + std::strerror(error);
    }
    return false;
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::string& contents,
                         std::string* reason) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent, ec);
        if (ec) {
            return fail(reason, "can not create the folder " + parent.string(), ec.value());
        }
    }

    const std::string tempPath = path + ".tmp";
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(reason, "can not create " + tempPath, errno);
    }
    int error = 0;
    if (!writeAll(fd, contents) || ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return fail(reason, "can not write " + tempPath, error);
    }
    if (std::rename(tempPath.c_str(), path.c_str()) != 0) {
        error = errno;
        ::unlink(tempPath.c_str());
        return fail(reason, "can not replace " + path, error);
    }
    return true;
}

bool saveOrLog(const std::string& path, const std::string& contents) {
    std::string reason;
    if (!writeFileAtomically(path, contents, &reason)) {
        logMessage("Can not save %s: %s", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}
