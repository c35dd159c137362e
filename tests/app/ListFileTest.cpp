#include "ListFile.h"
#include "RowName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelle {
namespace {

namespace fs = std::filesystem;

// ---- Links on the way to the list, judged as the kernel judges links in shared folders -----------------------

constexpr uid_t kNobody = 65534; // another user: only root may give it a link
constexpr uid_t kSelf = static_cast<uid_t>(-1); // to chown: the owner stays the test's own user

struct LinkRow
{
    const char* name;
    mode_t folderMode; // of the folder holding the links
    uid_t folderOwner;
    uid_t linkOwner; // of list.txt and folder, the two links into the private folder
    const char* save; // the name saved under, in the folder holding the links
    const char* refused; // the link that must be refused, or nullptr when the list is written through
};

// In that folder: list.txt -> private/list.txt and folder -> private, both of linkOwner; own.txt -> list.txt,
// always the test's own.
constexpr LinkRow kLinks[] = {
    {"ForeignLinkInSharedFolder", 01777, kSelf, kNobody, "list.txt", "list.txt"},
    {"OwnLinkInSharedFolder", 01777, kSelf, kSelf, "list.txt", nullptr},
    {"FolderOwnersLinkInSharedFolder", 01777, kNobody, kNobody, "list.txt", nullptr},
    {"ForeignLinkInPlainFolder", 0755, kSelf, kNobody, "list.txt", nullptr},
    {"ForeignLinkInStickyGroupFolder", 01775, kSelf, kNobody, "list.txt", nullptr},
    {"ForeignLinkInWorldWritableFolderWithoutStickyBit", 0777, kSelf, kNobody, "list.txt", nullptr},
    {"ForeignLinkToAFolderInSharedFolder", 01777, kSelf, kNobody, "folder/list.txt", "folder"},
    {"OwnLinkToAForeignLinkInSharedFolder", 01777, kSelf, kNobody, "own.txt", "list.txt"},
};

using test::PrintTo;

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ListFileLinks : public testing::TestWithParam<LinkRow>
{
protected:
    void SetUp() override
    {
        char base[] = "/tmp/tarvelle-links-XXXXXX";
        ASSERT_NE(mkdtemp(base), nullptr);
        base_ = base;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(base_, ignored);
    }

    fs::path base_;
};

TEST_P(ListFileLinks, FollowsOnlyTheLinksTheKernelWouldFollow)
{
    const LinkRow& row = GetParam();
    if ((row.folderOwner == kNobody || row.linkOwner == kNobody) && geteuid() != 0)
        GTEST_SKIP() << "only root may give links and folders to another user";

    const fs::path privateFolder = base_ / "private";
    const fs::path shared = base_ / "shared";
    const fs::path list = privateFolder / "list.txt";
    const std::string oldBytes = "an older list\r\n";
    ASSERT_TRUE(fs::create_directory(privateFolder));
    ASSERT_TRUE(fs::create_directory(shared));
    std::ofstream(list, std::ios::binary) << oldBytes;
    fs::create_symlink(list, shared / "list.txt");
    fs::create_directory_symlink(privateFolder, shared / "folder");
    fs::create_symlink("list.txt", shared / "own.txt");
    for (const char* link : {"list.txt", "folder"})
        ASSERT_EQ(lchown((shared / link).c_str(), row.linkOwner, static_cast<gid_t>(-1)), 0) << link;
    ASSERT_EQ(chown(shared.c_str(), row.folderOwner, static_cast<gid_t>(-1)), 0);
    ASSERT_EQ(chmod(shared.c_str(), row.folderMode), 0);

    const std::optional<std::string> error = WriteListFile((shared / row.save).string(), "new\r\n");
    if (row.refused) {
        EXPECT_EQ(error, (shared / row.refused).string() + " is a link owned by another user in a shared folder");
        EXPECT_EQ(Contents(list), oldBytes);
    } else {
        EXPECT_EQ(error, std::nullopt);
        EXPECT_EQ(Contents(list), "new\r\n");
    }
    // Nothing is left behind, and every link stays a link.
    EXPECT_EQ(std::distance(fs::directory_iterator(privateFolder), {}), 1);
    for (const char* link : {"list.txt", "folder", "own.txt"})
        EXPECT_TRUE(fs::is_symlink(shared / link)) << link;
}

INSTANTIATE_TEST_SUITE_P(SavePath, ListFileLinks, testing::ValuesIn(kLinks), test::RowName());

} // namespace
} // namespace tarvelle
