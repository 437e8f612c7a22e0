#include "tests/net/mail/mail_test_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace kestrova {
namespace {

std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
    std::vector<char*> out;
    for (const std::string& a : argv) out.push_back(const_cast<char*>(a.c_str()));
    out.push_back(nullptr);
    return out;
}

// Spawns `argv` with its standard output and error on a pipe whose read end goes to `out`.
pid_t Spawn(const std::vector<std::string>& argv, int& out) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    pid_t pid = -1;
    std::vector<char*> args = ArgvOf(argv);
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out = fds[0];
    return pid;
}

}  // namespace

std::string SmtpPeersFolder() {
    const char* source = std::getenv("KESTROVA_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/peers/smtp/";
}

int ListenOnLoopback(int backlog, uint16_t& port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd, backlog);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    port = ntohs(a.sin_port);
    return fd;
}

uint16_t FreeLoopbackPort() {
    uint16_t port = 0;
    close(ListenOnLoopback(1, port));
    return port;
}

int RunCommand(const std::vector<std::string>& argv, std::string* output) {
    int out = -1;
    pid_t pid = Spawn(argv, out);
    if (pid < 0) return -1;
    char buffer[4096];
    ssize_t got;
    while ((got = read(out, buffer, sizeof buffer)) > 0) {
        if (output) output->append(buffer, size_t(got));
    }
    close(out);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void PeerProcess::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
    pid_ = -1;
    out_ = -1;
}

bool PeerProcess::Start(const std::vector<std::string>& argv, const std::string& readyLine) {
    pid_ = Spawn(argv, out_);
    if (pid_ < 0) return false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::string line;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        if (read(out_, &c, 1) != 1) return false;
        output_ += c;
        if (c != '\n') {
            line += c;
            continue;
        }
        if (line == readyLine) return true;
        std::istringstream words(line);
        std::string word, name;
        unsigned port = 0;
        if (words >> word >> name >> port && word == "port") ports_[name] = uint16_t(port);
        line.clear();
    }
    return false;
}

uint16_t PeerProcess::Port(const std::string& name) const {
    auto found = ports_.find(name);
    return found == ports_.end() ? 0 : found->second;
}

NpmSmtpServers& NpmSmtpServers::Get() {
    static NpmSmtpServers servers;
    return servers;
}

NpmSmtpServers::NpmSmtpServers() {
    folder_ =
        (std::filesystem::temp_directory_path() / ("kestrova-smtp-" + std::to_string(getpid()))).string() +
        "/";
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    started_ = process_.Start(
        {"node", SmtpPeersFolder() + "server.js", folder_, "starttls-login:login", "starttls-plain:plain",
         "starttls-cram:cram", "tls-login:tls,login", "tls-plain:tls,plain", "tls-cram:tls,cram",
         "nostarttls:nostarttls,login", "xoauth:xoauth", "refuse:refuse"},
        "ready");
}

NpmSmtpServers::~NpmSmtpServers() {
    process_.Stop();
    std::filesystem::remove_all(folder_);
}

bool NpmSmtpServers::Ready(std::string& why) const {
    if (!started_) {
        why = "the npm SMTP servers did not start (run tests/peers/smtp/install.sh): " + process_.Output();
    }
    return started_;
}

int NpmSmtpServers::MessageCount() const {
    int n = 0;
    while (std::filesystem::exists(MessageFolder(n + 1) + "auth.txt")) ++n;
    return n;
}

std::string NpmSmtpServers::MessageFolder(int n) const {
    return folder_ + std::to_string(n) + "/";
}

void ScriptedConnection::Send(const std::string& text) {
    if (!text.empty()) send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
}

void ScriptedConnection::Dribble(const std::string& text) {
    for (char c : text) {
        send(fd_, &c, 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

std::optional<std::string> ScriptedConnection::ReadLine() {
    for (;;) {
        size_t end = pending_.find("\r\n");
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 2);
            return line;
        }
        char buffer[4096];
        ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0) return std::nullopt;
        pending_.append(buffer, size_t(got));
    }
}

std::vector<std::string> ScriptedConnection::ReadData() {
    std::vector<std::string> lines;
    while (std::optional<std::string> line = ReadLine()) {
        lines.push_back(*line);
        if (*line == ".") break;
    }
    return lines;
}

ScriptedServer::ScriptedServer(Script script) {
    listener_ = ListenOnLoopback(4, port_);
    if (!script) return;
    thread_ = std::thread([this, script] {
        int fd = accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        ScriptedConnection connection(fd);
        script(connection);
        close(fd);
    });
}

ScriptedServer::~ScriptedServer() {
    Finish();
}

void ScriptedServer::Finish() {
    if (listener_ >= 0) shutdown(listener_, SHUT_RDWR);  // wakes an accept that never got its client
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
    listener_ = -1;
}

TraceCapture::TraceCapture() {
    old_ = SetDebugSink([this](std::string_view line) {
        std::lock_guard<std::mutex> g(mutex_);
        text_.append(line);
        text_ += '\n';
    });
}

TraceCapture::~TraceCapture() {
    SetDebugSink(std::move(old_));
}

std::string TraceCapture::All() {
    std::lock_guard<std::mutex> g(mutex_);
    return text_;
}

}  // namespace kestrova
