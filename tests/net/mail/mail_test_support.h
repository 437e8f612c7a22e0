#pragma once
// What the mail tests share: peer processes they start and stop, a one-connection scripted SMTP server for
// replies no real server gives, the captured debug trace and a few small helpers.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/debug.h"

namespace kestrova {

// The folder of the SMTP peers' set-up, ending in "/".
std::string SmtpPeersFolder();
// A socket listening on 127.0.0.1 at a free port, which goes to `port`.
int ListenOnLoopback(int backlog, uint16_t& port);
// A port on 127.0.0.1 that nothing listens on right now.
uint16_t FreeLoopbackPort();
// Runs a command to its end; its exit status (-1 when it could not run). Its output (standard output and
// error) goes to `output`.
int RunCommand(const std::vector<std::string>& argv, std::string* output = nullptr);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& bytes);

// A process that runs until the object goes: SIGTERM, then waited for.
class PeerProcess {
public:
    PeerProcess() = default;
    ~PeerProcess() { Stop(); }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // Starts `argv` and reads its output lines until one is `readyLine`; false when it ends or 20 s pass
    // first.
    bool Start(const std::vector<std::string>& argv, const std::string& readyLine);
    // The number of a "port NAME NUMBER" line, 0 when there was none.
    uint16_t Port(const std::string& name) const;
    const std::string& Output() const { return output_; }
    // SIGTERM, then waits for the process.
    void Stop();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
    std::map<std::string, uint16_t> ports_;
};

// The npm SMTP servers, started on first use and stopped when the test program ends. Server names:
// starttls-login, starttls-plain, starttls-cram, tls-login, tls-plain, tls-cram (one AUTH method each,
// over STARTTLS or TLS from connect), nostarttls, xoauth (an unknown method only), refuse (greets with 554).
// User "kestrova", password "s3cret-pass".
class NpmSmtpServers {
public:
    static NpmSmtpServers& Get();
    ~NpmSmtpServers();
    // False, with the reason in `why`, when the servers could not start.
    bool Ready(std::string& why) const;
    uint16_t Port(const std::string& name) const { return process_.Port(name); }
    // How many messages the servers have accepted, and the folder of message n (from 1), ending in "/".
    int MessageCount() const;
    std::string MessageFolder(int n) const;

private:
    NpmSmtpServers();
    std::string folder_;
    PeerProcess process_;
    bool started_ = false;
};

// One connection of the scripted server.
class ScriptedConnection {
public:
    explicit ScriptedConnection(int fd) : fd_(fd) {}
    void Send(const std::string& text);
    // Sends `text` one byte at a time.
    void Dribble(const std::string& text);
    // The next line without its CR LF; none when the client closed.
    std::optional<std::string> ReadLine();
    // Lines up to and including the lone "." of the data's end.
    std::vector<std::string> ReadData();

private:
    int fd_;
    std::string pending_;
};

// Accepts one connection on 127.0.0.1 and runs `script` on it, or never accepts when given none.
class ScriptedServer {
public:
    using Script = std::function<void(ScriptedConnection&)>;
    explicit ScriptedServer(Script script);
    ~ScriptedServer();  // waits for the script

    uint16_t port() const { return port_; }
    // Waits for the script to end.
    void Finish();

private:
    int listener_ = -1;
    uint16_t port_ = 0;
    std::thread thread_;
};

// Collects the debug output for the life of the object.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    std::string All();

private:
    std::mutex mutex_;
    std::string text_;
    DebugSink old_;
};

}  // namespace kestrova
