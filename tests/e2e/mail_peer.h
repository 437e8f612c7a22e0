#pragma once
// A real SMTP server on 127.0.0.1: the npm smtp-server the mail tests use (tests/peers/smtp/server.js),
// offering STARTTLS and AUTH LOGIN, user "kestrova", password "s3cret-pass". Each message it accepts is
// saved under the folder given, in a numbered folder of its own.

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/child_process.h"

namespace kestrova::e2e {

class MailPeer {
public:
    static constexpr const char* kUser = "kestrova";
    static constexpr const char* kPassword = "s3cret-pass";

    // Starts the server, saving messages under `folder` (ending in "/"). Port() is 0 when it did not come
    // up; Why() then says what is missing.
    MailPeer(const std::string& sourceDir, const std::string& folder);

    int Port() const { return port_; }
    const std::string& Why() const { return why_; }
    // The folders of the messages received whole so far, oldest first, each ending in "/".
    std::vector<std::string> Messages() const;

private:
    std::string folder_;
    std::unique_ptr<ChildProcess> server_;
    int port_ = 0;
    std::string why_;
};

}  // namespace kestrova::e2e
