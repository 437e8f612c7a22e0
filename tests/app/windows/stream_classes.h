#pragma once
// The streaming window's class, which its own tests and the schedule window's (whose "Streaming" opens it)
// both need, registered once for the whole test program; the schedule window's with it.

namespace kestrova::uitest {

bool RegisterScheduleAndStreamClasses();

}  // namespace kestrova::uitest
