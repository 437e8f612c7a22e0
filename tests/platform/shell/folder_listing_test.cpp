#include "platform/shell/folder_listing.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using Patterns = std::vector<std::wstring>;

TEST(FilterPatternsTest, TakesThePairAskedForAndNeverReadsPastTheList) {
    // Each list ends in its second zero here, with nothing readable after it.
    const wchar_t two[] = L"Text\0*.txt; *.log \0Everything\0*.*\0";
    const wchar_t lone[] = L"Only a name\0";
    struct Case {
        const wchar_t* filter;
        DWORD index;
        Patterns patterns;
    };
    const Case cases[] = {
        {nullptr, 1, {}},   {two, 0, {L"*.txt", L"*.log"}},
        {two, 2, {L"*.*"}}, {two, 3, {L"*.txt", L"*.log"}},  // past the end: the first pair
        {lone, 1, {}},      {lone, 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(FilterPatterns(c.filter, c.index), c.patterns);
    }
}

TEST(FilterPatternsTest, MatchesNamesAsTheDesktopDoes) {
    EXPECT_TRUE(MatchesAny(L"Makefile", {L"*.*"}));  // with or without an extension
    EXPECT_TRUE(MatchesAny(L"NOTES.TXT", {L"*.log", L"*.txt"}));
    EXPECT_TRUE(MatchesAny(L"anything", {}));
    EXPECT_FALSE(MatchesAny(L"notes.txt.bak", {L"*.txt"}));
    EXPECT_TRUE(MatchesAny(L"cam1.avi", {L"cam?.avi"}));
}

TEST(ResolvePathTest, FoldsStepsWithinTheFileSystem) {
    struct Case {
        std::wstring folder, name, path;
    };
    const Case cases[] = {
        {L"/home/u/", L"run.sh", L"/home/u/run.sh"},
        {L"/home/u/", L"/etc//hosts", L"/etc/hosts"},
        {L"/home/u/", L"../../../..", L"/"},
        {L"/home/u/", L"a/./b/../c/", L"/home/u/a/c/"},
        {L"/home/u/", L"..", L"/home/"},
        {L"/", L"", L"/"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolvePath(c.folder, c.name), c.path) << c.name.size();
}

}  // namespace
}  // namespace kestrova
