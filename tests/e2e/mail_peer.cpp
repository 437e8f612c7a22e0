#include "tests/e2e/mail_peer.h"

#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

namespace kestrova::e2e {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(20);

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

}  // namespace

MailPeer::MailPeer(const std::string& sourceDir, const std::string& folder) : folder_(folder) {
    const std::string peer = sourceDir + "/tests/peers/smtp/";
    if (!Exists(peer + "node_modules/smtp-server")) {
        why_ = "the SMTP peer is not installed (tests/peers/smtp/install.sh)";
        return;
    }
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"node", peer + "server.js", folder_ + "messages", "mail:login"},
        Environment{}, folder_ + "server.log");
    const std::regex portLine("port mail ([0-9]+)\n");
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (server_->Started() && !server_->ExitCode() && std::chrono::steady_clock::now() < deadline) {
        const std::string log = server_->Log();
        std::smatch match;
        if (log.find("ready\n") != std::string::npos && std::regex_search(log, match, portLine)) {
            port_ = std::stoi(match[1]);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    why_ = "the SMTP peer did not start: " + server_->Log();
}

std::vector<std::string> MailPeer::Messages() const {
    std::vector<std::string> messages;
    // The peer numbers messages from 1 and writes auth.txt last.
    for (int n = 1; Exists(folder_ + "messages/" + std::to_string(n) + "/auth.txt"); ++n) {
        messages.push_back(folder_ + "messages/" + std::to_string(n) + "/");
    }
    return messages;
}

}  // namespace kestrova::e2e
