#include "engine/device_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/device/kit/test_device.h"

namespace kestrova::testing {
namespace {

std::wstring NameOf(Device* d) {
    wchar_t buffer[256] = {};
    d->GetFriendlyName(buffer, 255);
    return buffer;
}

std::vector<std::wstring> Names(const DeviceList& list) {
    std::vector<std::wstring> names;
    for (Device* d = list.GetHead(); d != nullptr; d = d->GetNext()) names.push_back(NameOf(d));
    return names;
}

TEST(DeviceListTest, ClashingNamesGetTheNextFreeNumber) {
    const std::wstring long255(255, L'L');
    const std::wstring stem250(250, L'L');
    struct Case {
        std::vector<std::wstring> present;  // added first, in this order
        std::wstring added;
        std::wstring expected;
    };
    const Case cases[] = {
        {{}, L"Cam", L"Cam"},
        {{L"Cam"}, L"Cam", L"Cam-1"},
        {{L"Cam", L"Cam"}, L"Cam", L"Cam-2"},
        {{L"Cam", L"Cam-2"}, L"Cam", L"Cam-1"},
        {{L"Cam"}, L"cam", L"cam"},
        {{}, long255, stem250},
        {{stem250}, long255, stem250 + L"-1"},
        {{}, L"", L""},
        {{L""}, L"", L"-1"},
    };
    for (const Case& c : cases) {
        DeviceList list;
        for (const std::wstring& name : c.present) list.Add(new TestDevice(kDeviceUsbCamera, name));
        Device* d = list.Add(new TestDevice(kDeviceUsbCamera, c.added));
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(list.GetHead(), d);
        EXPECT_EQ(NameOf(d), c.expected) << c.expected.size();
    }
}

TEST(DeviceListTest, NewestComesFirst) {
    DeviceList list;
    for (int i = 0; i < 3; ++i) list.Add(new TestDevice(kDeviceUsbCamera, L"Cam"));
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"Cam-2", L"Cam-1", L"Cam"}));
}

TEST(DeviceListTest, AddingWithNoFreeNameDestroysTheDevice) {
    DeviceList list;
    // Cam and Cam-1 .. Cam-9998 take every name Add may try; linked directly, as adding them one by one would
    // only slow the test down.
    for (int i = 9998; i >= 0; --i) {
        auto* d = new TestDevice(kDeviceUsbCamera, i == 0 ? L"Cam" : L"Cam-" + std::to_wstring(i));
        d->SetNext(list.GetHead());
        list.SetHead(d);
    }
    bool destroyed = false;
    EXPECT_EQ(list.Add(new TestDevice(kDeviceUsbCamera, L"Cam", &destroyed)), nullptr);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(list.Add(nullptr), nullptr);

    // Freeing one number makes room again.
    Device* second = list.GetHead()->GetNext();
    second->SetFriendlyName(L"Other");
    Device* added = list.Add(new TestDevice(kDeviceUsbCamera, L"Cam"));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(NameOf(added), L"Cam-1");
}

TEST(DeviceListTest, FindAndSelect) {
    DeviceList list;
    Device* empty = list.Add(new TestDevice(kDeviceUsbCamera, L""));
    Device* cam = list.Add(new TestDevice(kDeviceUsbCamera, L"Cam"));
    Device* mic = list.Add(new TestDevice(kDeviceMicrophone, L"Mic"));
    mic->SetDeviceKey(L"0 Mic");
    ASSERT_TRUE(empty && cam && mic);

    EXPECT_EQ(list.FindByName(L"Cam"), cam);
    EXPECT_EQ(list.FindByName(L"cam"), nullptr);
    EXPECT_EQ(list.FindByName(L""), nullptr) << "even with a device of empty name";
    EXPECT_EQ(list.FindByKey(L"0 Mic"), mic);
    EXPECT_EQ(list.FindByKey(L""), nullptr);

    EXPECT_EQ(list.SelectByName(L"Cam"), cam);
    EXPECT_EQ(list.GetSelected(), cam);
    EXPECT_EQ(list.SelectByName(L"Nobody"), nullptr);
    EXPECT_EQ(list.SelectByName(L""), nullptr);
    EXPECT_EQ(list.GetSelected(), cam) << "no match leaves the selection";

    EXPECT_EQ(list.Contains(mic), 1);
    TestDevice outside;
    EXPECT_EQ(list.Contains(&outside), 0);
    EXPECT_EQ(list.Contains(nullptr), 0);
}

TEST(DeviceListTest, GlobalFunctionsAskTheProgramsList) {
    EXPECT_EQ(GetSelectedDevice(), nullptr);
    EXPECT_EQ(IsDeviceInList(nullptr), 0);
    DeviceList list;
    Device* cam = list.Add(new TestDevice(kDeviceUsbCamera, L"Cam"));
    SetGlobalDeviceList(&list);
    EXPECT_EQ(IsDeviceInList(cam), 1);
    EXPECT_EQ(GetSelectedDevice(), nullptr);
    list.SetSelected(cam);
    EXPECT_EQ(GetSelectedDevice(), cam);
    SetGlobalDeviceList(nullptr);
    EXPECT_EQ(IsDeviceInList(cam), 0);
}

TEST(DeviceListTest, DestroyAllDestroysEveryDevice) {
    bool destroyed[3] = {};
    DeviceList list;
    for (bool& flag : destroyed) list.Add(new TestDevice(kDeviceUsbCamera, L"Cam", &flag));
    list.SetSelected(list.GetHead());
    list.DestroyAll();
    EXPECT_EQ(list.GetHead(), nullptr);
    EXPECT_EQ(list.GetSelected(), nullptr);
    for (bool flag : destroyed) EXPECT_TRUE(flag);
}

}  // namespace
}  // namespace kestrova::testing
