#include "platform/shell/registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

constexpr wchar_t kHintsKey[] = L"Software\\BRANTLOW\\Kestrova\\2";

class RegistryTest : public ::testing::Test {
protected:
    std::unique_ptr<RegistryKey> CreateKey(std::wstring_view path = kHintsKey) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(RegistryKey::Create(RegistryRoot::kCurrentUser, path, key), kRegistryOk);
        return key;
    }
    static long SetDword(RegistryKey& key, std::wstring_view name, uint32_t value) {
        return key.SetValue(name, kRegistryDword, &value, 4);
    }
    static std::optional<uint32_t> GetDword(const RegistryKey& key, std::wstring_view name) {
        uint32_t value = 0, type = 0, size = 4;
        if (key.QueryValue(name, &type, &value, &size) != kRegistryOk || type != kRegistryDword) return {};
        return value;
    }
    void WriteStore(const std::string& text) { std::ofstream(ToUtf8(RegistryFilePath())) << text; }

    TempFolder tmp_;
    ScopedEnv config_{"KESTROVA_CONFIG_DIR", tmp_.native().c_str()};
};

struct StoredCase {
    const char* what;
    std::wstring name;
    uint32_t type;
    std::vector<uint8_t> bytes;  // as handed to SetValue and expected back
};

std::vector<uint8_t> WideBytes(const std::wstring& text) {
    const auto* p = reinterpret_cast<const uint8_t*>(text.c_str());
    return std::vector<uint8_t>(p, p + (text.size() + 1) * sizeof(wchar_t));
}

TEST_F(RegistryTest, EveryValueTypeSurvivesTheStore) {
    std::vector<uint8_t> allBytes(256);
    for (int i = 0; i < 256; ++i) allBytes[i] = uint8_t(i);
    const StoredCase cases[] = {
        {"dword", L"StorageMsg", kRegistryDword, {0, 0, 0, 0}},
        {"largest dword", L"firstrun", kRegistryDword, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"text", L"Path", kRegistryText, WideBytes(L"/opt/Café [1]/kestrova 100% /min\n-")},
        {"empty text", L"Empty", kRegistryText, WideBytes(L"")},
        {"a bare dash", L"-", kRegistryText, WideBytes(L"-")},
        {"binary", L"Window Place", kRegistryBinary, allBytes},
        {"empty binary", L"Nothing", kRegistryBinary, {}},
        {"unnamed", L"", kRegistryDword, {7, 0, 0, 0}},
        {"odd name", L"a%20b [x] \t\u00e9", kRegistryDword, {1, 2, 3, 4}},
    };
    auto key = CreateKey();
    for (const StoredCase& c : cases)
        ASSERT_EQ(key->SetValue(c.name, c.type, c.bytes.data(), uint32_t(c.bytes.size())), kRegistryOk)
            << c.what;

    // Every read goes to the file again; a second handle of another spelling sees the same key.
    std::unique_ptr<RegistryKey> again;
    ASSERT_EQ(RegistryKey::Open(RegistryRoot::kCurrentUser, L"software/brantlow//KESTROVA/2/", again),
              kRegistryOk);
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        uint32_t type = 0, size = 0;
        ASSERT_EQ(again->QueryValue(c.name, &type, nullptr, &size), kRegistryOk);
        EXPECT_EQ(type, c.type);
        ASSERT_EQ(size, c.bytes.size());
        std::vector<uint8_t> read(size + 3, 0xAA);
        ASSERT_EQ(again->QueryValue(c.name, nullptr, read.data(), &size), kRegistryOk);
        EXPECT_EQ(std::vector<uint8_t>(read.begin(), read.begin() + size), c.bytes);
    }
    EXPECT_EQ(GetDword(*again, L"STORAGEMSG"), 0u);  // names match without regard to case
}

TEST_F(RegistryTest, MissingValuesSmallBuffersAndBadWritesAreReported) {
    auto key = CreateKey();
    ASSERT_EQ(SetDword(*key, L"MaskingMsg", 1), kRegistryOk);
    const std::wstring text = L"twelve chars";
    ASSERT_EQ(key->SetValue(L"Text", kRegistryText, text.c_str(), uint32_t(text.size() * sizeof(wchar_t))),
              kRegistryOk);

    uint32_t type = 0, size = 8;
    wchar_t small[2] = {L'x', L'y'};
    EXPECT_EQ(key->QueryValue(L"Text", &type, small, &size), kRegistryMoreData);
    EXPECT_EQ(size, (text.size() + 1) * sizeof(wchar_t));  // the terminator is added on reading
    EXPECT_EQ(small[0], L'x');
    size = 4;
    EXPECT_EQ(key->QueryValue(L"StreamingMsg", &type, small, &size), kRegistryNotFound);

    const uint16_t shortValue = 1;
    EXPECT_EQ(key->SetValue(L"Short", kRegistryDword, &shortValue, 2), kRegistryInvalid);
    EXPECT_EQ(key->SetValue(L"Other", 2, "x", 1), kRegistryInvalid);
    EXPECT_EQ(key->SetValue(L"Null", kRegistryBinary, nullptr, 4), kRegistryInvalid);
    EXPECT_EQ(GetDword(*key, L"Short"), std::nullopt);

    EXPECT_EQ(key->DeleteValue(L"maskingmsg"), kRegistryOk);
    EXPECT_EQ(key->DeleteValue(L"MaskingMsg"), kRegistryNotFound);
    EXPECT_EQ(GetDword(*key, L"MaskingMsg"), std::nullopt);
}

TEST_F(RegistryTest, KeysAreOpenedOnlyWhereTheStoreHasThem) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(RegistryKey::Open(RegistryRoot::kCurrentUser, L"Software\\BRANTLOW\\Kestrova\\2102", key),
              kRegistryNotFound);
    EXPECT_EQ(RegistryKey::Create(RegistryRoot::kLocalMachine, L"Software\\BRANTLOW\\Kestrova\\2102", key),
              kRegistryAccessDenied);
    EXPECT_EQ(RegistryKey::Open(RegistryRoot::kLocalMachine, kHintsKey, key), kRegistryAccessDenied);
    EXPECT_EQ(RegistryKey::Create(RegistryRoot::kCurrentUser, L"\\/", key), kRegistryInvalid);
    EXPECT_FALSE(key);
    CreateKey(L"Software\\BRANTLOW\\Kestrova\\2102");
    EXPECT_EQ(RegistryKey::Open(RegistryRoot::kCurrentUser, L"Software\\BRANTLOW\\Kestrova\\2102", key),
              kRegistryOk);
    EXPECT_EQ(GetDword(*key, L"firstrun"), std::nullopt);  // a new key holds nothing
}

TEST_F(RegistryTest, DamagedLinesCostOnlyThemselves) {
    WriteStore(
        "# Kestrova registry store\n"
        "[current-user Software\\BRANTLOW\\Kestrova\\2]\n"
        "dword StorageMsg 0\n"
        "dword Negative -1\n"
        "dword TooLarge 4294967296\n"
        "dword Words 1 2\n"
        "binary OddHex abc\n"
        "text BadEscape %zz\n"
        "colour Kind 1\n"
        "dword MaskingMsg 1\n"
        "[current-user no closing bracket\n"
        "dword Orphan 5\n"
        "[current-user Software\\BRANTLOW\\Kestrova\\2102]\n"
        "dword firstrun 1");  // the last line has no line end: a write cut short
    auto hints = CreateKey();
    EXPECT_EQ(GetDword(*hints, L"StorageMsg"), 0u);
    EXPECT_EQ(GetDword(*hints, L"MaskingMsg"), 1u);
    for (const wchar_t* damaged :
         {L"Negative", L"TooLarge", L"Words", L"OddHex", L"BadEscape", L"Kind", L"Orphan"}) {
        uint32_t size = 0;
        EXPECT_EQ(hints->QueryValue(damaged, nullptr, nullptr, &size), kRegistryNotFound) << ToUtf8(damaged);
    }
    EXPECT_EQ(GetDword(*CreateKey(L"Software\\BRANTLOW\\Kestrova\\2102"), L"firstrun"), 1u);
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenLeavesTheValueUnset) {
    auto key = CreateKey();
    ASSERT_TRUE(RemoveFile(RegistryFilePath()));
    ASSERT_TRUE(CreateFolder(RegistryFilePath()));  // nothing can be renamed over a folder
    EXPECT_EQ(SetDword(*key, L"StorageMsg", 0), kRegistryWriteFailed);
    EXPECT_EQ(GetDword(*key, L"StorageMsg"), std::nullopt);
    std::unique_ptr<RegistryKey> other;
    EXPECT_EQ(RegistryKey::Create(RegistryRoot::kCurrentUser, L"Software\\Other", other),
              kRegistryWriteFailed);
}

TEST_F(RegistryTest, ACrashBetweenWriteAndRenameLosesNothingThatWasStored) {
    auto key = CreateKey();
    ASSERT_EQ(SetDword(*key, L"StreamingMsg", 1), kRegistryOk);
    // A writer killed at any moment: before, during or after writing its temporary file.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (uint32_t i = 1;; ++i) SetDword(*key, L"Counter", i);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (GetDword(*key, L"Counter").value_or(0) < 50 && std::chrono::steady_clock::now() < deadline)
        usleep(100);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    const uint32_t counter = GetDword(*key, L"Counter").value_or(0);
    EXPECT_GE(counter, 50u);
    EXPECT_EQ(GetDword(*key, L"StreamingMsg"), 1u);
    // A temporary file left behind with half a store in it is not read, and the next write still works.
    std::ofstream(ToUtf8(RegistryFilePath()) + ".tmp99999-0")
        << "[current-user Software\\BRANTLOW\\Kestrova\\2]\ndword Counter 7";
    ASSERT_EQ(SetDword(*key, L"MaskingMsg", 0), kRegistryOk);
    EXPECT_EQ(GetDword(*key, L"Counter"), counter);
    EXPECT_EQ(GetDword(*key, L"MaskingMsg"), 0u);
}

}  // namespace
}  // namespace kestrova
