#include "PasswordPageFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelle {
namespace {

using test::PasswordPageTest;

// ---- Save List on a real file system -------------------------------------------------------------------------

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class PasswordPageSave : public PasswordPageTest
{
protected:
    // Nine passwords of 8 characters, then Save List into `path`.
    void GenerateAndSave(const QString& path)
    {
        Type("seMaxLen", "8");
        Click("btnGo");
        ASSERT_EQ(List()->count(), 9);
        platform.saveFileName = path.toStdString();
        Click("btnSave");
    }

    // An existing list beside which the new one is written.
    QString ExistingFile(const QString& folder)
    {
        const QString path = folder + QStringLiteral("/list.txt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kOldBytes);
        return path;
    }

    void ExpectOneError()
    {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].kind, "error");
        EXPECT_FALSE(platform.messages[0].text.empty());
        EXPECT_EQ(List()->count(), 9);
    }

    static constexpr const char* kOldBytes = "an older list\r\nwhich must survive\r\n";
};

TEST_F(PasswordPageSave, WritesNinetyBytesOfCrLfLines)
{
    QTemporaryDir folder;
    const QString path = ExistingFile(folder.path());
    GenerateAndSave(path);
    EXPECT_TRUE(platform.messages.empty());
    QByteArray expected;
    for (const QString& item : Items())
        expected += item.toLatin1() + "\r\n";
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_EQ(ReadAll(path).size(), 90);
}

// The mode bits of a file, as `stat -c %a` shows them.
mode_t ModeOf(const QString& path)
{
    struct stat info
    { };
    return stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(PasswordPageSave, ANewListIsReadableByItsOwnerOnly)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/new.txt");
    const mode_t saved = umask(022);
    GenerateAndSave(path);
    umask(saved);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ReadAll(path).size(), 90);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"new.txt"});
}

TEST_F(PasswordPageSave, AReplacedListKeepsItsModeOwnerAndGroup)
{
    QTemporaryDir folder;
    const QString path = ExistingFile(folder.path());
    const QByteArray local = path.toLocal8Bit();
    ASSERT_EQ(chmod(local.constData(), 0640), 0);
    // Only root may give a file to another user; as anyone else the file stays the saver's own.
    const bool root = geteuid() == 0;
    const uid_t owner = root ? 65534 : geteuid();
    const gid_t group = root ? 65534 : getegid();
    ASSERT_EQ(chown(local.constData(), owner, group), 0);
    // A link to the list is followed: the list is replaced, the link stays a link.
    const QString link = folder.path() + QStringLiteral("/link.txt");
    ASSERT_TRUE(QFile::link(path, link));

    GenerateAndSave(link);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ReadAll(path).size(), 90);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat info
    { };
    ASSERT_EQ(stat(local.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(info.st_gid, group);
}

TEST_F(PasswordPageSave, IntoAFolderNobodyMayWriteReportsTheError)
{
    // Not even root may create files in /proc, and /proc/version stands for the file being replaced.
    const QByteArray before = ReadAll(QStringLiteral("/proc/version"));
    GenerateAndSave(QStringLiteral("/proc/version"));
    ASSERT_NO_FATAL_FAILURE(ExpectOneError());
    EXPECT_EQ(ReadAll(QStringLiteral("/proc/version")), before);
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/tarvelle-list.txt")));
}

TEST_F(PasswordPageSave, OntoADeviceReportsTheErrorAndLeavesTheDevice)
{
    // A device of that name is never swapped for a regular file.
    GenerateAndSave(QStringLiteral("/dev/full"));
    ASSERT_NO_FATAL_FAILURE(ExpectOneError());
    struct stat info
    { };
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(PasswordPageSave, PastTheFileSizeLimitKeepsTheOldFile)
{
    QTemporaryDir folder;
    const QString path = ExistingFile(folder.path());
    // The limit lets the new file start but not finish; writes past it fail with EFBIG instead of a signal.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    GenerateAndSave(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_NO_FATAL_FAILURE(ExpectOneError());
    EXPECT_EQ(ReadAll(path), QByteArray(kOldBytes));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"list.txt"});
}

/// A tmpfs of one page, mounted in a mount namespace of this thread's own; restores the namespace when done.
class TinyTmpfs
{
public:
    explicit TinyTmpfs(const QString& where) : where_(where.toLocal8Bit())
    {
        original_ = open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC);
        if (original_ < 0 || unshare(CLONE_NEWNS) != 0)
            return;
        // Keep the mount from propagating to the desktop's own namespace.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            && mount("tmpfs", where_.constData(), "tmpfs", 0, "size=4k") == 0)
            mounted_ = true;
    }
    ~TinyTmpfs()
    {
        if (mounted_)
            umount(where_.constData());
        if (original_ >= 0) {
            setns(original_, CLONE_NEWNS);
            close(original_);
        }
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray where_;
    int original_ = -1;
    bool mounted_ = false;
};

TEST_F(PasswordPageSave, OntoAFullFileSystemKeepsTheOldFile)
{
    QTemporaryDir folder;
    const TinyTmpfs tmpfs(folder.path());
    if (!tmpfs.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs CAP_SYS_ADMIN)";
    const QString path = ExistingFile(folder.path()); // its one page fills the file system
    GenerateAndSave(path);
    ASSERT_NO_FATAL_FAILURE(ExpectOneError());
    EXPECT_EQ(platform.messages[0].text, "No space left on device");
    EXPECT_EQ(ReadAll(path), QByteArray(kOldBytes));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"list.txt"});
}

} // namespace
} // namespace tarvelle
