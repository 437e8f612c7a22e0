#pragma once
// An X server of the test's own (Xvfb, 1280 x 800 at 24 bits), on the first free display number, which the
// server itself picks and reports; stopped with the object.

#include <memory>
#include <string>

#include "tests/e2e/child_process.h"

namespace kestrova::e2e {

class VirtualDisplay {
public:
    // Starts the server; its output goes to `log`. Name() is empty when it did not come up.
    explicit VirtualDisplay(const std::string& log);

    // ":N", or empty.
    const std::string& Name() const { return name_; }

private:
    std::unique_ptr<ChildProcess> server_;
    std::string name_;
};

}  // namespace kestrova::e2e
