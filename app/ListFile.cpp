#include "ListFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelle {

namespace {

std::string ErrorText(int error)
{
    return std::strerror(error);
}

// The file actually written: a symbolic link's target, or the path itself when nothing is there yet.
std::string ResolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string Folder(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// The temporary file takes the old file's mode, owner and group before it takes its place; a new list is
// for its owner only. Only root may give a file away, and only to a group it belongs to may a user give it;
// the file keeps what the process may set.
bool TakeOverAttributes(int fd, const struct stat* old)
{
    if (!old)
        return fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    if ((old->st_uid != geteuid() || old->st_gid != getegid()) && fchown(fd, old->st_uid, old->st_gid) != 0) {
        // The group alone where the process may give it; failing that the file keeps the process's group.
        [[maybe_unused]] const int groupOnly = fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    }
    return fchmod(fd, old->st_mode & 07777) == 0;
}

} // namespace

std::optional<std::string> WriteListFile(const std::string& path, const std::string& bytes)
{
    const std::string target = ResolvedPath(path);
    struct stat old
    { };
    const bool exists = stat(target.c_str(), &old) == 0;
    // A device, a pipe or a socket of that name is never swapped for a regular file.
    if (exists && !S_ISREG(old.st_mode))
        return path + " is not a regular file";

    std::string temp = Folder(target) + "/.tarvelle-XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return ErrorText(errno);
    int error = 0;
    if (!TakeOverAttributes(fd, exists ? &old : nullptr) || !WriteAll(fd, bytes) || fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return ErrorText(error);
    }
    return std::nullopt;
}

} // namespace tarvelle
