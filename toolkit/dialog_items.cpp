#include "toolkit/dialog_items.h"

#include "platform/ui/windows.h"

namespace kestrova::toolkit {

void EnableDlgItemsOf(BOOL enable, HWND parent, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == 0) return;
        if (HWND item = GetDlgItem(parent, id)) EnableWindow(item, enable);
    }
}

}  // namespace kestrova::toolkit
