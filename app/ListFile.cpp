#include "ListFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarvelle {

namespace {

// As many links as the kernel follows in one lookup before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

std::string ErrorText(int error)
{
    return std::strerror(error);
}

class Fd
{
public:
    explicit Fd(int fd = -1) : fd_(fd) { }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) { }
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// A folder opened for lookups only: it needs search permission, not read permission, as a path lookup does.
Fd OpenFolder(int at, const char* name)
{
    return Fd(openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

std::deque<std::string> Components(const std::string& path)
{
    std::deque<std::string> parts;
    for (size_t start = 0; start < path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The kernel's rule for links in shared folders (fs.protected_symlinks): in a folder that is both sticky and
// world-writable, such as /tmp, a link is followed only when it belongs to the follower or to the folder's owner.
// Any other user may have planted it there to aim our write at a file of ours.
bool MayFollow(int folder, const struct stat& link)
{
    struct stat info
    { };
    if (fstat(folder, &info) != 0)
        return false;
    const bool shared = (info.st_mode & S_ISVTX) && (info.st_mode & S_IWOTH);
    return !shared || link.st_uid == geteuid() || link.st_uid == info.st_uid;
}

// Where the list goes: the folder that receives it, held open so that nothing can swap it between the checks and
// the write, and the file's name in it; `old` is set when a file of that name is there.
struct Place
{
    Fd folder;
    std::string name;
    std::optional<struct stat> old;
};

// Walks `path` one name at a time, as the kernel would, judging each symbolic link on the way before following it.
std::optional<std::string> FindPlace(const std::string& path, Place& place)
{
    std::deque<std::string> rest = Components(path);
    if (rest.empty())
        return ErrorText(path.empty() ? ENOENT : EISDIR);
    const bool absolute = path.front() == '/';
    Fd folder = OpenFolder(AT_FDCWD, absolute ? "/" : ".");
    if (folder.get() < 0)
        return ErrorText(errno);
    std::string shown = absolute ? "/" : "";
    for (int links = 0; !rest.empty();) {
        const std::string name = std::move(rest.front());
        rest.pop_front();
        const bool last = rest.empty();
        if (name == "." && !last)
            continue;
        struct stat info
        { };
        if (fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT || !last)
                return ErrorText(errno);
            place = {std::move(folder), name, std::nullopt};
            return std::nullopt;
        }
        if (S_ISLNK(info.st_mode)) {
            if (++links > kMaxLinks)
                return ErrorText(ELOOP);
            if (!MayFollow(folder.get(), info))
                return Join(shown, name) + " is a link owned by another user in a shared folder";
            char target[PATH_MAX];
            const ssize_t length = readlinkat(folder.get(), name.c_str(), target, sizeof target);
            if (length < 0)
                return ErrorText(errno);
            if (length == 0 || static_cast<size_t>(length) == sizeof target)
                return ErrorText(length == 0 ? ENOENT : ENAMETOOLONG);
            const std::string aim(target, static_cast<size_t>(length));
            const std::deque<std::string> parts = Components(aim);
            rest.insert(rest.begin(), parts.begin(), parts.end());
            if (aim.front() == '/') {
                Fd root = OpenFolder(AT_FDCWD, "/");
                if (root.get() < 0)
                    return ErrorText(errno);
                folder = std::move(root);
                shown = "/";
            }
            if (rest.empty())
                return ErrorText(EISDIR); // a link to "/"
            continue;
        }
        if (last) {
            place = {std::move(folder), name, info};
            return std::nullopt;
        }
        // O_NOFOLLOW: a link put in this name's place since it was looked at is refused, not followed.
        Fd next = OpenFolder(folder.get(), name.c_str());
        if (next.get() < 0)
            return ErrorText(errno);
        folder = std::move(next);
        shown = Join(shown, name);
    }
    return ErrorText(ENOENT); // not reached: the last name always returns
}

// A new file of a name no other has in `folder`, for the owner only, as mkostemp makes one.
int CreateTemp(int folder, std::string& name)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
            return -1;
        name = ".tarvelle-";
        for (const unsigned char byte : random)
            name += kLetters[byte % (sizeof kLetters - 1)];
        const int fd = openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
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
bool TakeOverAttributes(int fd, const std::optional<struct stat>& old)
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
    Place place;
    if (std::optional<std::string> error = FindPlace(path, place))
        return error;
    // A device, a pipe or a socket of that name is never swapped for a regular file.
    if (place.old && !S_ISREG(place.old->st_mode))
        return path + " is not a regular file";

    const int folder = place.folder.get();
    std::string temp;
    const int fd = CreateTemp(folder, temp);
    if (fd < 0)
        return ErrorText(errno);
    int error = 0;
    if (!TakeOverAttributes(fd, place.old) || !WriteAll(fd, bytes) || fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && renameat(folder, temp.c_str(), folder, place.name.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlinkat(folder, temp.c_str(), 0);
        return ErrorText(error);
    }
    return std::nullopt;
}

} // namespace tarvelle
