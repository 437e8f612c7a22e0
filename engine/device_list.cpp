#include "engine/device_list.h"

#include <string>
#include <unordered_set>

#include "engine/device.h"

namespace kestrova {
namespace {

// Names in the list are cut to this many characters before a number is added, so "-9998" still fits.
constexpr size_t kNameStemChars = 250;
// The first number that is no longer tried.
constexpr int kNoFreeNumber = 9999;

DeviceList* g_list = nullptr;

std::wstring FriendlyName(Device* device) {
    wchar_t buffer[kMaxNameChars + 1] = {};
    int n = device->GetFriendlyName(buffer, int(kMaxNameChars));
    return std::wstring(buffer, size_t(n > 0 ? n : 0));
}

std::wstring DeviceKey(Device* device) {
    wchar_t buffer[kMaxNameChars + 1] = {};
    int n = device->GetDeviceKey(buffer, int(kMaxNameChars));
    return std::wstring(buffer, size_t(n > 0 ? n : 0));
}

}  // namespace

DeviceList::~DeviceList() {
    DestroyAll();
}

Device* DeviceList::Add(Device* device) {
    if (device == nullptr) return nullptr;
    const std::wstring name = FriendlyName(device);
    const std::wstring stem = name.substr(0, kNameStemChars);

    std::unordered_set<std::wstring> taken;
    for (Device* d = head_; d != nullptr; d = d->GetNext()) taken.insert(FriendlyName(d));

    std::wstring candidate = stem;
    for (int number = 1; taken.count(candidate) != 0; ++number) {
        if (number == kNoFreeNumber) {
            delete device;
            return nullptr;
        }
        candidate = stem + L"-" + std::to_wstring(number);
    }
    if (candidate != name) device->SetFriendlyName(candidate);  // the stored length is not needed
    device->SetNext(head_);
    head_ = device;
    return device;
}

Device* DeviceList::FindByName(std::wstring_view name) const {
    if (name.empty()) return nullptr;
    for (Device* d = head_; d != nullptr; d = d->GetNext()) {
        if (FriendlyName(d) == name) return d;
    }
    return nullptr;
}

Device* DeviceList::FindByKey(std::wstring_view key) const {
    if (key.empty()) return nullptr;
    for (Device* d = head_; d != nullptr; d = d->GetNext()) {
        if (DeviceKey(d) == key) return d;
    }
    return nullptr;
}

Device* DeviceList::SelectByName(std::wstring_view name) {
    Device* found = FindByName(name);
    if (found != nullptr) selected_ = found;
    return found;
}

int DeviceList::Contains(const Device* device) const {
    if (device == nullptr) return 0;
    for (Device* d = head_; d != nullptr; d = d->GetNext()) {
        if (d == device) return 1;
    }
    return 0;
}

void DeviceList::DestroyAll() {
    Device* d = head_;
    head_ = nullptr;
    selected_ = nullptr;
    while (d != nullptr) {
        Device* next = d->GetNext();
        delete d;
        d = next;
    }
}

void SetGlobalDeviceList(DeviceList* list) {
    g_list = list;
}
DeviceList* GetGlobalDeviceList() {
    return g_list;
}

Device* GetSelectedDevice() {
    return g_list != nullptr ? g_list->GetSelected() : nullptr;
}

int IsDeviceInList(const Device* device) {
    return g_list != nullptr ? g_list->Contains(device) : 0;
}

}  // namespace kestrova
