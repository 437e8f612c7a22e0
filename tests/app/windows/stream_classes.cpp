#include "tests/app/windows/stream_classes.h"

#include "app/windows/schedule_window.h"
#include "app/windows/stream_window.h"

namespace kestrova::uitest {

bool RegisterScheduleAndStreamClasses() {
    static const bool registered = RegisterScheduleWindowClass() && RegisterStreamWindowClass();
    return registered;
}

}  // namespace kestrova::uitest
