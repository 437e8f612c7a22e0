#include "app/registry_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

class RegistryValuesTest : public ::testing::Test {
protected:
    std::unique_ptr<RegistryKey> Open(std::wstring_view path) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(RegistryKey::Open(RegistryRoot::kCurrentUser, path, key), kRegistryOk);
        return key;
    }

    TempFolder tmp_;
    ScopedEnv config_{"KESTROVA_CONFIG_DIR", tmp_.native().c_str()};
};

TEST_F(RegistryValuesTest, ReadersTakeOnlyAValueOfTheirTypeThatFits) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(RegistryKey::Create(RegistryRoot::kCurrentUser, L"Software\\Test", key), kRegistryOk);
    const uint8_t blob[] = {1, 2, 3};
    ASSERT_EQ(RegWriteDword(*key, L"Seven", 7), kRegistryOk);
    ASSERT_EQ(RegWriteDword(*key, L"Zero", 0), kRegistryOk);
    ASSERT_EQ(RegWriteString(*key, L"Text", L"Vidéo"), kRegistryOk);
    ASSERT_EQ(RegWriteBinary(*key, L"Blob", blob, sizeof blob), kRegistryOk);

    struct Case {
        const wchar_t* name;
        uint32_t dword;  // read with 99 for missing
        int flag;        // read with 5 for missing
        uint32_t bytes;  // read into 3 bytes
    };
    const Case cases[] = {
        {L"Seven", 7, 1, 0}, {L"Zero", 0, 0, 0},     {L"Text", 99, 5, 0},
        {L"Blob", 99, 5, 3}, {L"Missing", 99, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
        EXPECT_EQ(RegReadDword(*key, c.name, 99), c.dword);
        EXPECT_EQ(RegReadBool(*key, c.name, 5), c.flag);
        uint8_t buffer[3] = {};
        EXPECT_EQ(RegReadBinary(*key, c.name, buffer, sizeof buffer), c.bytes);
    }

    uint8_t small[2] = {9, 9};
    EXPECT_EQ(RegReadBinary(*key, L"Blob", small, sizeof small), 0u);
    EXPECT_EQ(small[0], 9);  // a value too large for the buffer leaves it alone
    uint8_t whole[3] = {};
    ASSERT_EQ(RegReadBinary(*key, L"Blob", whole, sizeof whole), 3u);
    EXPECT_EQ(std::vector<uint8_t>(whole, whole + 3), std::vector<uint8_t>(blob, blob + 3));

    // The text goes with its terminating zero.
    uint32_t type = 0, size = 0;
    ASSERT_EQ(key->QueryValue(L"Text", &type, nullptr, &size), kRegistryOk);
    std::wstring text(size / sizeof(wchar_t), L'?');
    ASSERT_EQ(key->QueryValue(L"Text", &type, text.data(), &size), kRegistryOk);
    EXPECT_EQ(type, kRegistryText);
    EXPECT_EQ(text, std::wstring(L"Vidéo", 6));
}

TEST_F(RegistryValuesTest, HintsShowUntilTurnedOffEachByItsOwnFlag) {
    EXPECT_EQ(ReadHintFlag(kStorageHint), 1);
    ASSERT_EQ(TurnOffHint(kStorageHint), kRegistryOk);
    EXPECT_EQ(ReadHintFlag(kStorageHint), 0);
    EXPECT_EQ(ReadHintFlag(kStreamingHint), 1);
    EXPECT_EQ(ReadHintFlag(kMaskingHint), 1);
    EXPECT_EQ(RegReadDword(*Open(L"Software\\BRANTLOW\\Kestrova\\2"), L"StorageMsg", 99), 0u);
}

TEST_F(RegistryValuesTest, TheFirstRunFlagLivesPerUserWhenTheMachineKeyIsClosed) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(OpenFirstRunKey(key), kRegistryOk);
    EXPECT_EQ(RegReadBool(*key, kFirstRunValue, 0), 0);
    ASSERT_EQ(RegWriteDword(*key, kFirstRunValue, 1), kRegistryOk);
    EXPECT_EQ(RegReadBool(*Open(L"Software\\BRANTLOW\\Kestrova\\2102"), L"firstrun", 0), 1);
}

}  // namespace
}  // namespace kestrova
