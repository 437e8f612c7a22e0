#pragma once
// The system "LISTBOX" class, which the layer registers for every program (platform/ui/listbox.h).

#include <memory>

#include "platform/ui/window_table.h"

namespace kestrova::ui {

std::shared_ptr<const WindowClass> ListBoxClass();

}  // namespace kestrova::ui
