#pragma once
// The one list of devices: it owns every device, keeps display names unique and remembers the selected
// device. Used only on the user-interface thread; it has no lock.

#include <string_view>

namespace kestrova {

class Device;

class DeviceList {
public:
    DeviceList() = default;
    ~DeviceList();  // destroys every device
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    // Makes the device's display name unique ("Name", then "Name-1", "Name-2" ... of its first 250
    // characters) and puts it at the head. Null for a null device, and when no free name is left: the device
    // is then destroyed and the caller must not use it any more.
    Device* Add(Device* device);
    // The first device from the head whose display name (or device key) equals the text exactly; null for an
    // empty text.
    Device* FindByName(std::wstring_view name) const;
    Device* FindByKey(std::wstring_view key) const;
    // As FindByName; a match becomes the selected device, otherwise the selection stays.
    Device* SelectByName(std::wstring_view name);
    int Contains(const Device* device) const;

    Device* GetHead() const { return head_; }
    void SetHead(Device* device) { head_ = device; }
    Device* GetSelected() const { return selected_; }
    void SetSelected(Device* device) { selected_ = device; }
    // Destroys every device from the head on and leaves the list empty with no selection.
    void DestroyAll();

private:
    Device* head_ = nullptr;
    Device* selected_ = nullptr;
};

// The program's list, set by the main window while it exists.
void SetGlobalDeviceList(DeviceList* list);
DeviceList* GetGlobalDeviceList();
// GetSelected and Contains of the program's list (null and 0 while there is none).
Device* GetSelectedDevice();
int IsDeviceInList(const Device* device);

}  // namespace kestrova
