#include "platform/ui/system_classes.h"

#include <mutex>

namespace kestrova::ui {

void RegisterSystemClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterButtonClass();
        RegisterEditClass();
        RegisterListBoxClass();
    });
}

}  // namespace kestrova::ui
