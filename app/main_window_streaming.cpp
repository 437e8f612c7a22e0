// The streaming server's life: one server at a time, replaced as a whole whenever the set of published
// devices changes, and the published state bit that follows the server's reports.
#include <memory>

#include "app/main_window.h"
#include "engine/device.h"
#include "net/web_server.h"

namespace kestrova {

void MainWindow::RestartStreamingServer() {
    StopStreamingServer();
    WebServerSettings* settings = streaming_.settings.get();
    if (settings == nullptr) return;  // never confirmed, or forgotten when the last device was unpublished
    lastStreaming_ = std::make_unique<WebServerSettings>(*settings);

    // Down the list, newest first; devices waiting to be published (-1) get their number here.
    int published = 0;
    for (Device* device = devices_.GetHead(); device != nullptr; device = device->GetNext()) {
        if (device->GetWebIndex() != 0) device->SetWebIndex(++published);
    }
    settings->publishedCount = published;
    if (published == 0) {
        streaming_.settings.reset();  // the next Streaming press asks for them again
        return;
    }
    webServer_ = std::make_unique<WebServer>();
    // A server that cannot listen reports that it ended, which leaves every device unpublished.
    webServer_->Start(settings);
}

void MainWindow::StopStreamingServer() {
    if (webServer_ != nullptr) webServer_->Stop();
    webServer_.reset();
}

void MainWindow::PublishScheduled(Device* device) {
    // Scheduled hours go on after the user unpublished the last device by hand: the schedule publishes
    // with the settings confirmed last.
    if (streaming_.settings == nullptr && lastStreaming_ != nullptr)
        streaming_.settings = std::make_unique<WebServerSettings>(*lastStreaming_);
    device->SetWebIndex(-1);
    RestartStreamingServer();
}

void MainWindow::Unpublish(Device* device) {
    device->SetWebIndex(0);
    RestartStreamingServer();
}

// The server says whether it listens: every numbered device shows published while it does, none after.
void MainWindow::OnServerState(WPARAM listening) {
    for (Device* device = devices_.GetHead(); device != nullptr; device = device->GetNext()) {
        if (listening && device->GetWebIndex() > 0) {
            device->SetState(kStatePublished, 1);
        } else if (!listening) {
            device->SetState(kStatePublished, 0);
        }
    }
}

}  // namespace kestrova
