#include "platform/base/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/base/text.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

TEST(Files, CreateFolderAcceptsOneThatExistsButNotAFile) {
    TempFolder tmp;
    std::wstring dir = tmp.path() + L"Photos/";
    EXPECT_TRUE(CreateFolder(dir));
    EXPECT_TRUE(CreateFolder(dir));
    EXPECT_TRUE(IsFolder(dir));
    std::wstring file = tmp.path() + L"plain";
    ASSERT_TRUE(WriteFileAtomic(file, "x", 1));
    EXPECT_FALSE(CreateFolder(file));
    EXPECT_TRUE(CreateFolderTree(tmp.path() + L"a/b/c/"));
    EXPECT_TRUE(IsFolder(tmp.path() + L"a/b/c"));
}

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
    TempFolder tmp;
    std::wstring path = tmp.path() + L"1.jpg";
    ASSERT_TRUE(WriteFileAtomic(path, "first", 5));
    ASSERT_TRUE(WriteFileAtomic(path, "second!", 7));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "second!");
    EXPECT_EQ(tmp.Entries(), std::vector<std::string>{"1.jpg"});
    EXPECT_FALSE(WriteFileAtomic(tmp.path() + L"missing/x", "a", 1));
    EXPECT_FALSE(ReadWholeFile(tmp.path() + L"nothing", bytes));
}

TEST(Files, FoldersFollowTheEnvironment) {
    TempFolder tmp;
    std::string home = NativePath(tmp.path());
    ScopedEnv noDocs("KESTROVA_DOCUMENTS_DIR", nullptr);
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(DocumentsFolder(), tmp.path() + L"Documents/");
    CreateFolder(tmp.path() + L".config");
    std::ofstream(home + ".config/user-dirs.dirs") << "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    EXPECT_EQ(DocumentsFolder(), tmp.path() + L"Dokumente/");
    ScopedEnv docs("KESTROVA_DOCUMENTS_DIR", "/srv/docs");
    EXPECT_EQ(DocumentsFolder(), L"/srv/docs/");

    ScopedEnv noConfig("KESTROVA_CONFIG_DIR", nullptr);
    EXPECT_EQ(ConfigFolder(), tmp.path() + L".config/kestrova/");
    EXPECT_TRUE(IsFolder(ConfigFolder()));
}

TEST(Files, FolderOfAndTrailingSlash) {
    EXPECT_EQ(FolderOf(L"/a/b/c.jpg"), L"/a/b/");
    EXPECT_EQ(FolderOf(L"c.jpg"), L"");
    EXPECT_EQ(WithTrailingSlash(L"/a"), L"/a/");
    EXPECT_EQ(WithTrailingSlash(L"/a/"), L"/a/");
}

}  // namespace
}  // namespace kestrova
