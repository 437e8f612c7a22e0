#include "toolkit/menu_item_list.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace kestrova {
namespace {

// Each item as "index:command:text", with " checked" when it is.
std::vector<std::string> Items(const MenuItemList& list) {
    std::vector<std::string> out;
    for (const MenuItem* item = list.First(); item; item = item->next) {
        out.push_back(std::to_string(item->index) + ":" + std::to_string(item->commandId) + ":" +
                      std::string(item->text, item->text + std::wcslen(item->text)) +
                      (item->checked ? " checked" : ""));
    }
    return out;
}

using Strings = std::vector<std::string>;

TEST(MenuItemListTest, InsertsAtAPositionOrAppendsAndRenumbersTheItems) {
    MenuItemList list;
    EXPECT_EQ(list.Insert(kMenuCommand, 1, L"a", 0, 0), 0);
    EXPECT_EQ(list.Insert(kMenuCommand, 2, L"b", 0, -1), 1);
    EXPECT_EQ(list.Insert(kMenuCommand, 3, L"x", 0, 0), 0);
    EXPECT_EQ(list.Insert(kMenuCommand, 4, L"y", 0, 99), 3);
    EXPECT_EQ(list.Insert(kMenuCommand, 5, L"z", 0, 2), 2);
    EXPECT_EQ(Items(list), (Strings{"0:3:x", "1:1:a", "2:5:z", "3:2:b", "4:4:y"}));
    EXPECT_EQ(list.Count(), 5);

    EXPECT_EQ(list.Remove(2), 1);
    EXPECT_EQ(list.Remove(4), 0);
    EXPECT_EQ(list.Remove(-1), 0);
    EXPECT_EQ(list.RemoveByText(L"A"), 0) << "texts are compared exactly";
    EXPECT_EQ(list.RemoveByText(L"a"), 1);
    EXPECT_EQ(Items(list), (Strings{"0:3:x", "1:2:b", "2:4:y"}));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(MenuItemListTest, ClampsTheKindAndKeepsTheFirst250CharactersOfAText) {
    MenuItemList list;
    list.Insert(-4, 1, L"low", 0, -1);
    list.Insert(9, 2, L"high", 0, -1);
    list.Insert(kMenuCaption, 3, nullptr, 7, -1);
    const std::wstring long_text(300, L'w');
    list.Insert(kMenuCommand, 4, long_text.c_str(), 0, -1);
    const MenuItem* item = list.First();
    EXPECT_EQ(item->kind, kMenuCommand);
    EXPECT_EQ(item->next->kind, kMenuSeparator);
    EXPECT_EQ(item->next->next->kind, kMenuCaption);
    EXPECT_EQ(item->next->next->flag, 7);
    EXPECT_EQ(std::wstring(item->next->next->next->text), long_text.substr(0, 250));
}

TEST(MenuItemListTest, GetTextCutsToTheCapacityAndWritesOnlyItsTerminatorAfterIt) {
    MenuItemList list;
    list.Insert(kMenuCommand, 1, L"127.100.200.201", 0, -1);
    wchar_t buffer[12];
    std::wmemset(buffer, L'#', 12);
    EXPECT_EQ(list.GetText(0, buffer, 10), 1);
    EXPECT_EQ(std::wstring(buffer), L"127.100.20");
    EXPECT_EQ(buffer[11], L'#') << "nothing is written past capacity + 1";

    wchar_t small[6];
    EXPECT_EQ(list.GetText(0, small), 1) << "an array's own size counts the terminator";
    EXPECT_EQ(std::wstring(small), L"127.1");

    std::wmemset(buffer, L'#', 12);
    EXPECT_EQ(list.GetText(1, buffer, 10), 0);
    EXPECT_EQ(list.GetText(-1, buffer, 10), 0);
    EXPECT_EQ(buffer[0], L'#');
}

TEST(MenuItemListTest, ChecksOneItemAtATime) {
    MenuItemList list;
    for (const wchar_t* text : {L"a", L"b", L"c"}) list.Insert(kMenuCommand, 0, text, 0, -1);
    EXPECT_EQ(list.Check(1), 1);
    EXPECT_EQ(list.CheckByText(L"c"), 1);
    EXPECT_EQ(Items(list), (Strings{"0:0:a", "1:0:b", "2:0:c checked"}));
    EXPECT_EQ(list.Check(3), 0);
    EXPECT_EQ(list.CheckByText(L"d"), 0);
    EXPECT_EQ(Items(list), (Strings{"0:0:a", "1:0:b", "2:0:c checked"})) << "a failed check changes nothing";
}

TEST(MenuItemListTest, ACopyOwnsItsOwnItems) {
    MenuItemList list;
    list.Insert(kMenuCommand, 1, L"a", 0, -1);
    list.Insert(kMenuSeparator, 2, L"", 0, -1);
    list.Check(0);
    MenuItemList copy(list);
    list.Clear();
    EXPECT_EQ(Items(copy), (Strings{"0:1:a checked", "1:2:"}));
    EXPECT_EQ(copy.Count(), 2);
}

}  // namespace
}  // namespace kestrova
