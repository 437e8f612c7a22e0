// Runs the streaming web server on 127.0.0.1 until SIGTERM or SIGINT, then stops it and prints how long the
// stop took. Usage: web_bench_server <port> <frame folder>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/tcp_socket.h"
#include "net/web_server.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

int main(int argc, char** argv) {
    using namespace kestrova;
    if (argc != 3) {
        std::fprintf(stderr, "usage: web_bench_server <port> <frame folder>\n");
        return 2;
    }
    // Listening checks that the machine's own name resolves; answer it here rather than ask a name server.
    char own[256] = {};
    gethostname(own, sizeof own - 1);
    SetHostLookup([name = std::string(own)](const std::string& asked) -> uint32_t {
        return asked == name || asked == "localhost" ? 0x7F000001 : 0;
    });
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);  // before any thread starts, so every thread has it
    StartNetworking();

    WebServerSettings settings;
    settings.publishedCount = 1;
    ToUtf8Bounded(L"127.0.0.1", settings.bindAddress, sizeof settings.bindAddress - 1);
    settings.port = std::atoi(argv[1]);
    CopyWide(WithTrailingSlash(FromUtf8(argv[2])), settings.frameFolder, std::size(settings.frameFolder) - 1);
    WebServer server;
    if (server.Start(&settings) != 1) return 1;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    const auto start = std::chrono::steady_clock::now();
    server.Stop();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    std::printf("stopped in %lld ms\n", static_cast<long long>(ms));
    StopNetworking();
    return 0;
}
