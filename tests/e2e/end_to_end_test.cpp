// Kestrova from the outside, as a person uses it: the real program on an X display of the test's own,
// worked by the pointer and the keyboard, with a network camera, a mail server and a web browser on
// loopback; what it does is read back from its windows, its files, the mail it sends and the pages it
// serves. Windows are found by their sizes and worked at the centres of their controls.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>

#include "tests/e2e/browser.h"
#include "tests/e2e/desktop.h"
#include "tests/e2e/mail_peer.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/scene_camera.h"
#include "tests/e2e/storage_files.h"
#include "tests/e2e/virtual_display.h"
#include "tests/support/temp_folder.h"

namespace kestrova::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::system_clock;

constexpr auto kPatience = 30s;
constexpr const char* kWebPassword = "S3cret";

struct Size {
    int width, height;
};
constexpr Size kDevicesWindow{812, 612};
constexpr Size kAddCameraWindow{446, 370};
constexpr Size kPowerWindow{540, 498};
constexpr Size kAlarmWindow{540, 561};
constexpr Size kEmailWindow{446, 625};
constexpr Size kStreamWindow{540, 370};
constexpr Size kSettingsWindow{540, 388};
constexpr Size kPopup{370, 345};

// The main window's controls, by the centres of their rectangles in its client coordinates.
constexpr Point kCloseButton{469, 9};
constexpr Point kPowerButton{102, 416};
constexpr Point kAlarmButton{139, 416};
constexpr Point kStreamingButton{176, 416};
constexpr Point kDeviceListButton{361, 416};
constexpr Point kSettingsButton{398, 416};
constexpr int kListLeft = 30, kListTop = 548, kListWidth = 440, kListHeight = 99, kListItem = 33;
Point ListRow(int row) {
    return {kListLeft + 150, kListTop + row * kListItem + kListItem / 2};
}
// The display's 2 x 2 grid: each tile's inner part, clear of the gaps and the selection frame.
constexpr int kDisplayLeft = 10, kDisplayTop = 33, kTileWidth = 240, kTileHeight = 180, kTileInset = 12;

// A popup menu's rows, and its margin above the first and below the last.
constexpr int kMenuRow = 22, kMenuMargin = 5;

// Every property window's OK button, in the frame's standard place, and a check box's box, by its corner.
Point OkButton(Size window) {
    return {window.width - 113 + 45, window.height - 54 + 18};
}
Point Box(int x, int y) {
    return {x + 6, y + 7};
}

// Pixels near a colour, give or take the JPEG coding: the scene camera's backdrop, and the yellow bar of the
// virtual camera's picture.
struct Colour {
    int r, g, b;
};
constexpr Colour kBackdrop{30, 60, 140};
constexpr Colour kYellowBar{192, 192, 0};
size_t CountNear(const std::string& rgb, Colour colour) {
    size_t count = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        count += std::abs(uint8_t(rgb[i]) - colour.r) < 30 && std::abs(uint8_t(rgb[i + 1]) - colour.g) < 30 &&
                 std::abs(uint8_t(rgb[i + 2]) - colour.b) < 30;
    }
    return count;
}
// Pixels unlike the first one: a live picture has many, an empty tile none.
size_t CountVaried(const std::string& rgb) {
    size_t count = 0;
    for (size_t i = 3; i + 2 < rgb.size(); i += 3) count += rgb.compare(i, 3, rgb, 0, 3) != 0;
    return count;
}

bool Wait(const std::function<bool()>& condition, std::chrono::milliseconds limit = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

int FreeLoopbackPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(local);
    bind(s, reinterpret_cast<sockaddr*>(&local), size);
    getsockname(s, reinterpret_cast<sockaddr*>(&local), &size);
    close(s);
    return ntohs(local.sin_port);
}

bool Listening(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    peer.sin_port = htons(uint16_t(port));
    const bool connected = connect(s, reinterpret_cast<sockaddr*>(&peer), sizeof(peer)) == 0;
    close(s);
    return connected;
}

std::vector<StoredFile> Only(const std::vector<StoredFile>& files, const std::string& extension) {
    std::vector<StoredFile> kept;
    for (const StoredFile& f : files) {
        if (f.name.size() > extension.size() && f.name.ends_with(extension)) kept.push_back(f);
    }
    return kept;
}

std::vector<std::string> EntriesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// Where the screenshots go: the test's own folder, which the build keeps.
std::string ShotsFolder() {
    const char* folder = std::getenv("KESTROVA_TEST_TMP");
    const std::string path = folder ? folder : "/tmp";
    std::filesystem::create_directories(path);
    return path + "/";
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import", "ffprobe", "ffmpeg", "node", kChromium}) {
            if (RunTool({"sh", "-c", std::string("command -v ") + tool + " >/dev/null"}, "") != 0)
                GTEST_SKIP() << tool << " is not installed; the program cannot be run whole";
        }
        const char* source = std::getenv("KESTROVA_SOURCE_DIR");
        mail_ = std::make_unique<MailPeer>(source ? source : ".", peers_.native());
        if (mail_->Port() == 0) GTEST_SKIP() << mail_->Why();
        display_ = std::make_unique<VirtualDisplay>(peers_.native() + "xvfb.log");
        ASSERT_FALSE(display_->Name().empty()) << "Xvfb did not start";
        desktop_ = std::make_unique<Desktop>(display_->Name());
        session_ = std::make_unique<ProgramSession>(KESTROVA_PROGRAM, display_->Name());
    }

    const ScreenWindow& Main() const { return session_->MainWindow(); }
    void ClickMain(Point p) const { desktop_->Click(Main().At(p)); }

    // Waits for a window of this size; the test stops when it does not come.
    ScreenWindow Expect(Size size, const char* what) {
        auto window = desktop_->WaitForWindow(size.width, size.height);
        if (!window) {
            const std::string shot = ShotsFolder() + "missing-" + what + ".png";
            desktop_->Screenshot(shot);
            ADD_FAILURE() << "no " << what << " window; the screen is in " << shot;
            throw std::runtime_error(what);
        }
        return *window;
    }
    void ExpectGone(Size size, const char* what) {
        EXPECT_TRUE(desktop_->WaitUntilGone(size.width, size.height))
            << "the " << what << " window stays open";
    }
    void Press(const ScreenWindow& window, Size size, const char* what) {
        desktop_->Click(window.At(OkButton(size)));
        ExpectGone(size, what);
    }
    // Types `text` into the edit at `p`, after emptying it.
    void Fill(const ScreenWindow& window, Point p, const std::string& text, int clear = 0) {
        desktop_->Click(window.At(p));
        if (clear > 0) {
            desktop_->Key("End");
            desktop_->Key("BackSpace", clear);
        }
        desktop_->Type(text);
    }
    // Presses a main window button that first shows a hint, and answers the hint with OK, as a person who
    // has read it.
    void PressThroughHint(Point button) {
        const std::set<std::string> before = desktop_->WindowIds();
        ClickMain(button);
        const std::optional<ScreenWindow> hint = desktop_->WaitForNewWindow(before);
        ASSERT_TRUE(hint) << "no hint";
        desktop_->Click(hint->At(hint->width / 2, hint->height - 36));
        ASSERT_TRUE(desktop_->WaitUntilGone(hint->width, hint->height)) << "the hint stays";
    }

    // The main window's device list as pixels.
    std::string DeviceListPixels() const {
        return desktop_->Pixels(Main(), kListLeft, kListTop, kListWidth, kListHeight);
    }
    std::string TilePixels(int tile) const {
        return desktop_->Pixels(Main(), kDisplayLeft + (tile % 2) * kTileWidth + kTileInset,
                                kDisplayTop + (tile / 2) * kTileHeight + kTileInset,
                                kTileWidth - 2 * kTileInset, kTileHeight - 2 * kTileInset);
    }

    void CloseProgram() {
        ClickMain(kCloseButton);
        EXPECT_EQ(session_->Process().WaitForExit(kPatience), 0) << session_->Log();
    }

    void AddBothDevices(int cameraPort);
    void PowerSelected(int row);
    void ChooseLoopbackAddress(const ScreenWindow& stream);
    void PublishSelected(int row, int webPort, bool firstTime);
    void SetAlarmWithEmail(int row);

    TempFolder peers_;
    TempFolder browserWith_, browserWithout_;  // a browser profile each
    std::unique_ptr<MailPeer> mail_;
    std::unique_ptr<VirtualDisplay> display_;
    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<ProgramSession> session_;
    SceneCamera camera_;
};

// The devices window lists the virtual camera, found on the system, crossed: ticked, it stays. Its "Add"
// adds the network camera, which then heads the list.
void EndToEndTest::AddBothDevices(int cameraPort) {
    ClickMain(kDeviceListButton);
    const ScreenWindow devices = Expect(kDevicesWindow, "devices");
    desktop_->Click(devices.At(294 + 112, 128 + 15));  // the first USB camera
    desktop_->Click(devices.At(724, 492));             // "Add"
    const ScreenWindow add = Expect(kAddCameraWindow, "add IP camera");
    Fill(add, {194, 164}, "127.0.0.1");
    Fill(add, {383, 164}, std::to_string(cameraPort), 5);
    desktop_->Click(add.At(378, 334));
    ExpectGone(kAddCameraWindow, "add IP camera");
    Press(devices, kDevicesWindow, "devices");
}

void EndToEndTest::PowerSelected(int row) {
    ClickMain(ListRow(row));
    ClickMain(kPowerButton);
    const ScreenWindow power = Expect(kPowerWindow, "capture options");
    Press(power, kPowerWindow, "capture options");
}

// The address list offers the machine's own addresses with the loopback address last.
void EndToEndTest::ChooseLoopbackAddress(const ScreenWindow& stream) {
    const std::set<std::string> before = desktop_->WindowIds();
    desktop_->Click(stream.At(117, 164));
    const std::optional<ScreenWindow> list = desktop_->WaitForNewWindow(before);
    ASSERT_TRUE(list) << "no address list";
    desktop_->Click(list->At(list->width / 2, list->height - kMenuMargin - kMenuRow / 2));
    ASSERT_TRUE(desktop_->WaitUntilGone(list->width, list->height)) << "the address list stays";
}

void EndToEndTest::PublishSelected(int row, int webPort, bool firstTime) {
    ClickMain(ListRow(row));
    PressThroughHint(kStreamingButton);
    const ScreenWindow stream = Expect(kStreamWindow, "streaming");
    if (firstTime) {
        ChooseLoopbackAddress(stream);
        Fill(stream, {228, 164}, std::to_string(webPort), 5);
        Fill(stream, {117, 260}, kWebPassword);
    }
    Press(stream, kStreamWindow, "streaming");
}

// Photo, video, a popup, and an e-mail through the loopback mail server.
void EndToEndTest::SetAlarmWithEmail(int row) {
    ClickMain(ListRow(row));
    PressThroughHint(kAlarmButton);
    const ScreenWindow alarm = Expect(kAlarmWindow, "alarm");
    desktop_->Click(alarm.At(Box(57, 207)));  // "Video"
    desktop_->Click(alarm.At(Box(37, 307)));  // "Preview", as a popup
    desktop_->Click(alarm.At(Box(37, 432)));  // "Send an email" opens the e-mail window
    const ScreenWindow email = Expect(kEmailWindow, "e-mail");
    for (int click = 0; click < 3; ++click) desktop_->Click(email.At(86, 148));  // to "Other"
    Fill(email, {117, 214}, "127.0.0.1");
    Fill(email, {228, 214}, std::to_string(mail_->Port()));
    Fill(email, {117, 355}, MailPeer::kUser);
    Fill(email, {282, 355}, MailPeer::kPassword);
    Fill(email, {117, 435}, "camera@kestrova.test");
    Fill(email, {117, 515}, "owner@kestrova.test");
    Press(email, kEmailWindow, "e-mail");
    Press(alarm, kAlarmWindow, "alarm");
}

TEST_F(EndToEndTest, WatchesTwoCamerasRaisesAnAlarmAndKeepsTheListAcrossARestart) {
    const std::string shots = ShotsFolder();
    session_->WriteSettings("LOAD_USB_DEVS=0\nVIDEO_STREAMS_PER_DISPALY=4\n");
    ASSERT_TRUE(session_->Start()) << session_->Log();

    AddBothDevices(camera_.Port());
    // The list as it shows two devices, both off (the second row painted too).
    ASSERT_TRUE(Wait([&] {
        return CountVaried(DeviceListPixels().substr(kListWidth * 3 * (kListItem + 4))) > 0;
    })) << "the device list does not show two devices";
    const std::string listedOff = DeviceListPixels();

    // Both powered through the capture options window: the newest (the network camera) takes the first tile.
    PowerSelected(0);
    PowerSelected(1);
    EXPECT_TRUE(Wait([&] {
        return CountNear(TilePixels(0), kBackdrop) > 20000 && CountVaried(TilePixels(1)) > 20000;
    })) << "the two tiles do not show the two live pictures";
    desktop_->Screenshot(shots + "e2e-main-window.png", Main().id);

    const int webPort = FreeLoopbackPort();
    PublishSelected(0, webPort, true);
    PublishSelected(1, webPort, false);
    ASSERT_TRUE(Wait([&] { return Listening(webPort); }))
        << "nothing serves 127.0.0.1:" << webPort
        << " (the streaming window offers the host's first address)";

    SetAlarmWithEmail(0);
    camera_.SetMoving(true);
    const ScreenWindow popup = Expect(kPopup, "alarm popup");
    const std::string photos = session_->StorageFolder() + "Photos/";
    EXPECT_TRUE(Wait([&] { return Only(FilesBelow(photos), ".png").size() >= 6; })) << "no photos";
    desktop_->Screenshot(shots + "e2e-alarm-popup.png", popup.id);
    camera_.SetMoving(false);
    const auto stillSince = Clock::now();

    // The alarm ends about 7 s after the last motion: no photo comes for a while.
    EXPECT_TRUE(Wait(
        [&] {
            const auto files = FilesBelow(photos);
            return !files.empty() && Clock::now() - files.back().modified > 3s &&
                   Clock::now() - stillSince > 8s;
        },
        60s));
    const std::vector<StoredFile> pictures = Only(FilesBelow(photos), ".png");
    ASSERT_GE(pictures.size(), 6u);
    const auto lastAfter = pictures.back().modified - stillSince;
    EXPECT_GT(lastAfter, 5s);
    EXPECT_LT(lastAfter, 9500ms);
    std::vector<long> gaps;
    for (size_t i = 1; i < pictures.size(); ++i) {
        gaps.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(pictures[i].modified -
                                                                             pictures[i - 1].modified)
                           .count());
    }
    std::nth_element(gaps.begin(), gaps.begin() + long(gaps.size() / 2), gaps.end());
    EXPECT_NEAR(gaps[gaps.size() / 2], 500, 150) << "photos are not taken every 500 ms";
    size_t forEmail = 0;
    for (const StoredFile& f : pictures) forEmail += f.name.find(" Email.png") != std::string::npos;
    EXPECT_EQ(forEmail, 3u);

    const std::vector<StoredFile> videos = Only(FilesBelow(session_->StorageFolder() + "Videos/"), ".avi");
    ASSERT_EQ(videos.size(), 1u);
    const VideoProbe video = ProbeVideo(videos[0].path);
    EXPECT_GT(video.readFrames, 0);
    EXPECT_EQ(video.readFrames, video.announcedFrames) << "the AVI is not whole";

    ASSERT_TRUE(Wait([&] { return !mail_->Messages().empty(); })) << "no e-mail";
    const std::vector<std::string> messages = mail_->Messages();
    EXPECT_EQ(messages.size(), 1u);
    // The first three photos, the ones named for the e-mail.
    const std::vector<std::string> attached = EntriesIn(messages[0] + "attachments");
    EXPECT_EQ(attached.size(), 3u);
    for (const std::string& name : attached) EXPECT_TRUE(name.ends_with(" Email.png")) << name;

    // The page shows both pictures to a browser that has the password, and none to one that has not.
    const std::string site = "127.0.0.1:" + std::to_string(webPort) + "/";
    const std::string page = BrowseToPixels("http://viewer:" + std::string(kWebPassword) + "@" + site,
                                            browserWith_.native(), 1000, 800, 3000);
    EXPECT_GT(CountNear(page, kBackdrop), 20000u) << "the browser shows no picture of the network camera";
    EXPECT_GT(CountNear(page, kYellowBar), 2000u) << "the browser shows no picture of the virtual camera";
    const std::string refused = BrowseToPixels("http://" + site, browserWithout_.native(), 1000, 800, 3000);
    EXPECT_EQ(CountNear(refused, kBackdrop), 0u) << "the pictures are shown without the password";

    // The popup stays until its close button, over the main window's buttons.
    desktop_->Click(popup.At(kPopup.width - 52 + 20, 9));
    ExpectGone(kPopup, "alarm popup");

    // Saved on exit, the list comes back in the same order, every device powered off.
    ClickMain(kSettingsButton);
    const ScreenWindow settings = Expect(kSettingsWindow, "settings");
    desktop_->Click(settings.At(Box(37, 154)));
    Press(settings, kSettingsWindow, "settings");
    CloseProgram();
    ASSERT_TRUE(session_->Start()) << session_->Log();
    if (!Wait([&] { return DeviceListPixels() == listedOff; }, 10s)) {
        desktop_->Screenshot(shots + "restored-list.png", Main().id);
        ADD_FAILURE() << "the restored list differs from the list before, powered off; see " << shots
                      << "restored-list.png";
    }
    CloseProgram();
}

}  // namespace
}  // namespace kestrova::e2e
