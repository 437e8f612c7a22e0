#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/file_dialog_window.h"
#include "platform/shell/file_dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/listbox.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/testing/message_pump.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

using uitest::LoopSteps;

constexpr wchar_t kAllFiles[] = L"All Files (*.*)\0*.*\0";
constexpr DWORD kRunFlags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST;
constexpr size_t kRunBuffer = 1000;

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A temporary folder of folders and files (hidden ones among them) and a shown owner window, with the
// desktop's beeps counted.
class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock_);
        for (const wchar_t* folder : {L"Alpha/", L"beta/", L".hidden/", L"beta/deeper/"})
            ASSERT_TRUE(CreateFolder(tmp_.path() + folder));
        for (const wchar_t* file :
             {L"Run Me.sh", L"notes.TXT", L"zeta.log", L"Makefile", L".secret", L"beta/inner.txt"})
            std::ofstream(NativePath(tmp_.path() + file)) << "x";
        static const bool registered = [] {
            WNDCLASSW wc;
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = L"FileDialogTestOwner";
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        owner_ = CreateWindowExW(0, L"FileDialogTestOwner", L"", WS_POPUP | WS_VISIBLE, 100, 100, 600, 500,
                                 nullptr, 0, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        SetActiveWindow(owner_);
        oldBeep_ = ui::SetBeepSink([this](UINT) { ++beeps_; });
    }
    void TearDown() override {
        ui::SetBeepSink(oldBeep_);
        DestroyWindow(owner_);
        uitest::PumpMessages();
        SetClock(nullptr);
    }

    // A record as the alarm settings fill it, over `buffer`.
    OPENFILENAMEW Record(std::vector<wchar_t>& buffer, const wchar_t* filter = kAllFiles,
                         DWORD flags = kRunFlags) {
        OPENFILENAMEW ofn;
        ofn.hwndOwner = owner_;
        ofn.lpstrFilter = filter;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = DWORD(buffer.size());
        ofn.Flags = flags;
        return ofn;
    }

    static std::vector<wchar_t> Buffer(const std::wstring& text, size_t size = kRunBuffer) {
        std::vector<wchar_t> buffer(size, L'\0');
        CopyWide(text, buffer.data(), size - 1);
        return buffer;
    }

    static HWND Dialog() { return FindWindowW(L"KestrovaFileDialog", nullptr); }
    static HWND Control(int id) { return GetDlgItem(Dialog(), id); }
    static std::wstring Text(HWND hwnd) {
        wchar_t text[2048];
        GetWindowTextW(hwnd, text, 2048);
        return text;
    }
    static std::vector<std::wstring> Entries() {
        HWND list = Control(kEntryListId);
        std::vector<std::wstring> items;
        for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
            std::wstring item(size_t(SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
            item.resize(
                size_t(SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item.data()))));
            items.push_back(item);
        }
        return items;
    }
    // Replaces the text of an edit as the user would: select everything, type over it.
    static void TypeInto(int id, std::wstring_view text) {
        SetFocus(Control(id));
        SendMessageW(Control(id), EM_SETSEL, 0, -1);
        uitest::PressKey(VK_DELETE);
        uitest::TypeText(text);
    }
    // A key for the dialog's own loop, which runs it through the dialog keys once the step returns: the
    // last thing a step does.
    static void DialogKey(UINT key) {
        ui::InjectKey(key, true);
        ui::InjectKey(key, false);
    }
    static void ClickControl(int id) {
        RECT r;
        GetClientRect(Control(id), &r);
        uitest::Click(uitest::OnScreen(Control(id), POINT{r.right / 2, r.bottom / 2}));
    }
    static POINT EntryPoint(int index) {
        HWND list = Control(kEntryListId);
        const int height = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        return uitest::OnScreen(list, POINT{5, index * height + height / 2});
    }
    static void DoubleClickEntry(int index) { uitest::DoubleClick(EntryPoint(index)); }

    TestClock clock_;
    TempFolder tmp_;
    HWND owner_ = nullptr;
    int beeps_ = 0;
    ui::BeepSink oldBeep_;
};

TEST_F(FileDialogTest, ListsFoldersFirstThenTheFilesTheFilterTakes) {
    const wchar_t filters[] = L"Text (*.txt)\0*.txt\0Logs and scripts\0*.log; *.sh\0All Files (*.*)\0*.*\0";
    struct Case {
        DWORD index;
        std::vector<std::wstring> entries;
    };
    const std::vector<std::wstring> folders = {L"..", L"Alpha/", L"beta/"};
    const Case cases[] = {
        {1, {L"notes.TXT"}},
        {2, {L"Run Me.sh", L"zeta.log"}},
        {3, {L"Makefile", L"notes.TXT", L"Run Me.sh", L"zeta.log"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        std::vector<wchar_t> buffer = Buffer(tmp_.path() + L"zeta.log");
        OPENFILENAMEW ofn = Record(buffer, filters);
        ofn.nFilterIndex = c.index;
        LoopSteps steps;
        steps.Then([&] {
            std::vector<std::wstring> expected = folders;
            expected.insert(expected.end(), c.entries.begin(), c.entries.end());
            EXPECT_EQ(Entries(), expected);
            EXPECT_EQ(Text(Control(kFolderEditId)), tmp_.path());
            EXPECT_EQ(Text(Control(kFileNameEditId)), L"zeta.log");
            DialogKey(VK_ESCAPE);
        });
        EXPECT_FALSE(GetOpenFileNameW(&ofn));
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        EXPECT_EQ(std::wstring(buffer.data()), tmp_.path() + L"zeta.log");
    }
}

TEST_F(FileDialogTest, ATypedNameComesBackWholeWhileTheOwnerWaitsDisabled) {
    std::vector<wchar_t> buffer = Buffer(tmp_.path());
    OPENFILENAMEW ofn = Record(buffer);
    LoopSteps steps;
    steps.Then([&] {
        EXPECT_FALSE(IsWindowEnabled(owner_));
        EXPECT_EQ(GetParent(Dialog()), owner_);
        EXPECT_EQ(GetFocus(), Control(kFileNameEditId));
        uitest::TypeText(L"Run Me.sh");
        DialogKey(VK_RETURN);
    });
    EXPECT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(buffer.data()), tmp_.path() + L"Run Me.sh");
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(GetActiveWindow(), owner_);
}

TEST_F(FileDialogTest, AFileMustExistWhenTheFlagSaysSo) {
    struct Case {
        DWORD flags;
        std::wstring typed;
        bool refused;
    };
    const Case cases[] = {
        {kRunFlags, L"missing.sh", true},
        {kRunFlags, L"nowhere/zeta.log", true},
        {kRunFlags, L"beta/inner.txt", false},
        {OFN_PATHMUSTEXIST, L"missing.sh", false},
        {OFN_PATHMUSTEXIST, L"nowhere/missing.sh", true},
        {0, L"nowhere/missing.sh", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::vector<wchar_t> buffer = Buffer(tmp_.path());
        OPENFILENAMEW ofn = Record(buffer, kAllFiles, c.flags);
        beeps_ = 0;
        LoopSteps steps;
        steps.Then([&] {
            uitest::TypeText(c.typed);
            DialogKey(VK_RETURN);
        });
        if (c.refused) {
            steps.Then([&] {
                EXPECT_NE(Dialog(), nullptr);  // still there, to pick another name
                EXPECT_EQ(beeps_, 1);
                DialogKey(VK_ESCAPE);
            });
        }
        EXPECT_EQ(GetOpenFileNameW(&ofn), c.refused ? FALSE : TRUE);
        EXPECT_EQ(std::wstring(buffer.data()), c.refused ? tmp_.path() : tmp_.path() + c.typed);
    }
}

TEST_F(FileDialogTest, FoldersOpenByDoubleClickEnterOrTypingAndDotDotGoesUp) {
    std::vector<wchar_t> buffer = Buffer(L"");
    OPENFILENAMEW ofn = Record(buffer);
    const std::wstring beta = tmp_.path() + L"beta/";
    LoopSteps steps;
    steps.Then([&] {
        EXPECT_EQ(Text(Control(kFolderEditId)), HomeFolder());  // an empty buffer starts at home
        TypeInto(kFolderEditId, tmp_.path());
        DialogKey(VK_RETURN);
    });
    steps.Then([&] {
        EXPECT_EQ(Text(Control(kFolderEditId)), tmp_.path());
        DoubleClickEntry(2);  // "beta/"
        EXPECT_EQ(Text(Control(kFolderEditId)), beta);
        EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"..", L"deeper/", L"inner.txt"}));
        DoubleClickEntry(0);
        EXPECT_EQ(Text(Control(kFolderEditId)), tmp_.path());
        SetFocus(Control(kEntryListId));
        SendMessageW(Control(kEntryListId), LB_SETCURSEL, 2, 0);
        DialogKey(VK_RETURN);
    });
    steps.Then([&] {
        EXPECT_EQ(Text(Control(kFolderEditId)), beta);
        TypeInto(kFileNameEditId, L"deeper");  // a folder's name opens it
        DialogKey(VK_RETURN);
    });
    steps.Then([&] {
        EXPECT_EQ(Text(Control(kFolderEditId)), beta + L"deeper/");
        EXPECT_EQ(Text(Control(kFileNameEditId)), L"");
        TypeInto(kFolderEditId, L"../../nowhere");
        DialogKey(VK_RETURN);
    });
    steps.Then([&] {
        EXPECT_EQ(beeps_, 1);
        EXPECT_EQ(Text(Control(kFolderEditId)), L"../../nowhere");  // left for the user to correct
        TypeInto(kFolderEditId, L"../..");
        DialogKey(VK_RETURN);
    });
    steps.Then([&] {
        EXPECT_EQ(Text(Control(kFolderEditId)), tmp_.path());
        DoubleClickEntry(5);  // "Run Me.sh", after "..", two folders, "Makefile" and "notes.TXT"
    });
    EXPECT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(buffer.data()), tmp_.path() + L"Run Me.sh");
}

TEST_F(FileDialogTest, CancelLeavesTheBufferAsItWas) {
    std::vector<wchar_t> buffer = Buffer(tmp_.path() + L"zeta.log");
    OPENFILENAMEW ofn = Record(buffer);
    LoopSteps steps;
    steps.Then([&] {
        uitest::Click(EntryPoint(4));  // choosing a file fills in its name...
        EXPECT_EQ(Text(Control(kFileNameEditId)), L"notes.TXT");
        ClickControl(IDCANCEL);  // ...which Cancel drops
    });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(std::wstring(buffer.data()), tmp_.path() + L"zeta.log");
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(FileDialogTest, APathLongerThanTheBufferFailsAndLeavesItAlone) {
    const std::wstring chosen = tmp_.path() + L"Run Me.sh";
    for (size_t size : {chosen.size(), chosen.size() + 1}) {
        SCOPED_TRACE(size);
        std::vector<wchar_t> buffer = Buffer(tmp_.path(), size + 1);
        buffer.back() = L'#';  // a guard just past what the dialog may write
        OPENFILENAMEW ofn = Record(buffer);
        ofn.nMaxFile = DWORD(size);
        LoopSteps steps;
        steps.Then([&] {
            uitest::TypeText(L"Run Me.sh");
            ClickControl(IDOK);
        });
        const bool fits = size > chosen.size();
        EXPECT_EQ(GetOpenFileNameW(&ofn), fits ? TRUE : FALSE);
        EXPECT_EQ(CommDlgExtendedError(), fits ? 0u : FNERR_BUFFERTOOSMALL);
        EXPECT_EQ(std::wstring(buffer.data()), fits ? chosen : tmp_.path());
        EXPECT_EQ(buffer.back(), L'#');
    }
}

TEST_F(FileDialogTest, TheSizeGripMakesTheDialogLargerAndTheListFollows) {
    std::vector<wchar_t> buffer = Buffer(tmp_.path());
    OPENFILENAMEW ofn = Record(buffer);
    LoopSteps steps;
    steps.Then([&] {
        RECT before, listBefore, after, listAfter;
        GetWindowRect(Dialog(), &before);
        GetWindowRect(Control(kEntryListId), &listBefore);
        uitest::MoveMouse(POINT{before.right - 3, before.bottom - 3});
        uitest::PressMouse();
        uitest::MoveMouse(POINT{before.right + 57, before.bottom + 37});
        uitest::ReleaseMouse();
        GetWindowRect(Dialog(), &after);
        GetWindowRect(Control(kEntryListId), &listAfter);
        EXPECT_EQ(after.right - after.left, before.right - before.left + 60);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 40);
        EXPECT_EQ(listAfter.bottom - listAfter.top, listBefore.bottom - listBefore.top + 40);
        DialogKey(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
}

TEST_F(FileDialogTest, TheFolderBrowserGivesTheChosenFolderOrNothing) {
    BROWSEINFOW info;
    info.hwndOwner = owner_;
    info.lpszTitle = L"Select storage folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const std::wstring start = HomeFolder();
    LoopSteps steps;
    steps.Then([&] {
        EXPECT_FALSE(IsWindowEnabled(owner_));
        EXPECT_EQ(Control(kFileNameEditId), nullptr);
        EXPECT_EQ(Text(Control(kFolderEditId)), start);
        TypeInto(kFolderEditId, tmp_.path());
        DialogKey(VK_RETURN);
    });
    steps.Then([&] {
        EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"..", L"Alpha/", L"beta/"}));  // folders only
        SendMessageW(Control(kEntryListId), LB_SETCURSEL, 1, 0);
        ClickControl(IDOK);
    });
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    ASSERT_NE(chosen, nullptr);
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDListW(chosen, path));
    EXPECT_EQ(std::wstring(path), tmp_.path() + L"Alpha");
    CoTaskMemFree(chosen);
    EXPECT_TRUE(IsWindowEnabled(owner_));

    steps.Then([&] { ClickControl(IDCANCEL); });
    EXPECT_EQ(SHBrowseForFolderW(&info), nullptr);
}

TEST_F(FileDialogTest, HooksAnswerWithoutAWindow) {
    LoopSteps noSteps;  // a window's loop would find none and fail the test
    std::vector<std::wstring> asked;
    SetOpenFileDialogHook([&](const OPENFILENAMEW& ofn) -> std::optional<std::wstring> {
        asked.push_back(ofn.lpstrFile);
        if (asked.size() == 1) return L"/opt/alarm/run.sh";
        if (asked.size() == 2) return std::wstring(kRunBuffer, L'x');  // no room for its terminator
        return std::nullopt;
    });
    std::vector<wchar_t> buffer = Buffer(L"/old/choice.sh");
    OPENFILENAMEW ofn = Record(buffer);
    EXPECT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(buffer.data()), L"/opt/alarm/run.sh");
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(buffer.data()), L"/opt/alarm/run.sh");
    EXPECT_EQ(asked,
              (std::vector<std::wstring>{L"/old/choice.sh", L"/opt/alarm/run.sh", L"/opt/alarm/run.sh"}));
    SetOpenFileDialogHook(nullptr);

    std::vector<std::optional<std::wstring>> answers = {L"/srv/storage", std::wstring(MAX_PATH, L'd'),
                                                        std::nullopt};
    size_t next = 0;
    SetFolderBrowserHook([&](const BROWSEINFOW& info) {
        EXPECT_STREQ(info.lpszTitle, L"Select storage folder:");
        return answers[next++];
    });
    BROWSEINFOW info;
    info.lpszTitle = L"Select storage folder:";
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDListW(chosen, path));
    EXPECT_EQ(std::wstring(path), L"/srv/storage");
    CoTaskMemFree(chosen);
    EXPECT_EQ(SHBrowseForFolderW(&info), nullptr);  // a path that would not come back out whole
    EXPECT_EQ(SHBrowseForFolderW(&info), nullptr);
    SetFolderBrowserHook(nullptr);
    EXPECT_FALSE(SHGetPathFromIDListW(nullptr, path));
    EXPECT_EQ(path[0], L'\0');
}

}  // namespace
}  // namespace kestrova
