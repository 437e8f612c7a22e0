#pragma once
// The devices window's search for capture devices of the system that the device list does not hold yet:
// each one found becomes a device of its kind, powered off and crossed (its deleted mark and saved mark 1),
// so that it goes again unless the user ticks it. User-interface thread.

#include <string>
#include <vector>

namespace kestrova {

class MainWindow;

// Each adds the new devices of its kind to `main`'s list and answers their display names (as the list made
// them unique), in the order found. A device already listed under its key is skipped, so a second search
// adds nothing; a device the list refuses is left out.
std::vector<std::wstring> AddNewMicrophones(MainWindow& main);
std::vector<std::wstring> AddNewUsbCameras(MainWindow& main);

}  // namespace kestrova
