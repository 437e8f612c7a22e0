// The property records of the main window's commands: each is copied out of the device, edited in its modal
// window and, after OK, copied back into the device if it is still listed when the window closes.
#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "app/windows/alarm_window.h"
#include "app/windows/mask_window.h"
#include "app/windows/power_window.h"
#include "app/windows/property_window.h"
#include "app/windows/schedule_window.h"
#include "engine/device.h"
#include "engine/grids.h"
#include "toolkit/message_box.h"

namespace kestrova {
namespace {

// The still of the mask window when the camera has no frame yet: light grey, in blue, green, red order.
constexpr uint8_t kNoFrameGrey[3] = {219, 217, 217};

struct FrameSize {
    int width, height;
};

// 1 = 320 x 240, 2 = 640 x 480; nothing for any other value.
std::optional<FrameSize> PictureOf(int frameSize) {
    if (frameSize == 1) return FrameSize{320, 240};
    if (frameSize == 2) return FrameSize{640, 480};
    return std::nullopt;
}

bool AnyCellSet(const MaskGrid& mask) {
    return std::any_of(mask.begin(), mask.end(), [](int32_t cell) { return cell != 0; });
}

// The alarm record's fields beside the device's accessors of the same values.
template <class Record>
struct NumberField {
    int32_t Record::*field;
    int (Device::*get)();
    void (Device::*set)(int);
};
constexpr NumberField<AlarmActions> kActionFields[] = {
    {&AlarmActions::save, &Device::GetSaveFiles, &Device::SetSaveFiles},
    {&AlarmActions::photo, &Device::GetSavePhotos, &Device::SetSavePhotos},
    {&AlarmActions::video, &Device::GetRecordVideo, &Device::SetRecordVideo},
    {&AlarmActions::audio, &Device::GetRecordAudio, &Device::SetRecordAudio},
    {&AlarmActions::playSound, &Device::GetPlaySound, &Device::SetPlaySound},
    {&AlarmActions::sound, &Device::GetSoundKind, &Device::SetSoundKind},
    {&AlarmActions::preview, &Device::GetPreview, &Device::SetPreview},
    {&AlarmActions::previewKind, &Device::GetPreviewKind, &Device::SetPreviewKind},
    {&AlarmActions::run, &Device::GetRunFile, &Device::SetRunFile},
    {&AlarmActions::sendEmail, &Device::GetSendEmail, &Device::SetSendEmail},
};
constexpr NumberField<EmailSettings> kEmailNumbers[] = {
    {&EmailSettings::port, &Device::GetSmtpPort, &Device::SetSmtpPort},
    {&EmailSettings::protocol, &Device::GetSmtpProtocol, &Device::SetSmtpProtocol},
};
// The device keeps these as UTF-8 and converts them both ways.
struct EmailText {
    wchar_t (EmailSettings::*field)[kEmailTextCapacity];
    int (Device::*get)(wchar_t*, int);
    int (Device::*set)(std::wstring_view);
};
constexpr EmailText kEmailTexts[] = {
    {&EmailSettings::host, &Device::GetSmtpServer, &Device::SetSmtpServer},
    {&EmailSettings::user, &Device::GetSmtpUser, &Device::SetSmtpUser},
    {&EmailSettings::password, &Device::GetSmtpPassword, &Device::SetSmtpPassword},
    {&EmailSettings::sender, &Device::GetEmailSender, &Device::SetEmailSender},
    {&EmailSettings::recipient, &Device::GetEmailRecipient, &Device::SetEmailRecipient},
};

void ReadAlarmActions(Device& device, AlarmActions& actions) {
    actions.type = device.GetType();
    for (const auto& f : kActionFields) actions.*f.field = (device.*f.get)();
    device.GetRunFilePath(actions.fileToRun, kRunFileCapacity - 2);
    for (const auto& f : kEmailNumbers) actions.email.*f.field = (device.*f.get)();
    for (const auto& f : kEmailTexts) (device.*f.get)(actions.email.*f.field, kEmailTextChars);
}

void WriteAlarmActions(Device& device, const AlarmActions& actions) {
    for (const auto& f : kActionFields) (device.*f.set)(actions.*f.field);
    device.SetRunFilePath(actions.fileToRun);
    for (const auto& f : kEmailNumbers) (device.*f.set)(actions.email.*f.field);
    for (const auto& f : kEmailTexts) (device.*f.set)(actions.email.*f.field);
}

}  // namespace

int MainWindow::EditPowerSettings(Device* device) {
    const HeldDevice held(device);
    PowerSettings power{device->GetFrameSize(), device->GetFlipVertical(), device->GetVideoCompression(),
                        device->GetPhotoFormat()};
    if (ShowPowerWindow(window_, &power) == kPropertyCancelled || !held.StillListed()) return 0;
    device->Stop();
    device->SetFrameSize(power.frameSize);
    device->SetFlipVertical(power.verticalFlip);
    device->SetVideoCompression(power.compression);
    device->SetPhotoFormat(power.photoFormat);
    device->Start();
    return 1;
}

int MainWindow::EditAlarmActions(Device* device) {
    const HeldDevice held(device);
    AlarmActions actions;
    ReadAlarmActions(*device, actions);
    if (ShowAlarmWindow(window_, &actions) == kPropertyCancelled || !held.StillListed()) return 0;
    device->StopDetection();
    WriteAlarmActions(*device, actions);
    device->StartDetection();
    return 1;
}

int MainWindow::EditMasks(Device* device) {
    const std::optional<FrameSize> size = PictureOf(device->GetFrameSize());
    if (!size) {
        ShowMessageEx(window_, L"An error occurred.", kMessageOkStyle, kMessageError, 1);
        return 0;
    }
    // 640 and 320 pixels of 3 bytes make rows that need no padding.
    std::vector<uint8_t> pixels(size_t(size->width) * size->height * 3);
    imaging::BitmapInfo info;  // 24-bit, bottom-up; the copy fills it with the frame's own header
    if (!device->CopyFrame(pixels.data(), int(pixels.size()), &info)) {
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = kNoFrameGrey[i % 3];
        info.bmiHeader.biWidth = size->width;
        info.bmiHeader.biHeight = size->height;
    }
    MaskGrid motion{}, privacy{};
    device->GetMasks(&motion, &privacy);

    const HeldDevice held(device);
    MaskEditParams params;
    params.type = device->GetType();
    params.motion = &motion;
    params.privacy = &privacy;
    params.pixels = pixels.data();
    params.header = info.bmiHeader;
    if (ShowMaskWindow(window_, &params) == kPropertyCancelled || !held.StillListed()) return 0;
    device->SetMasks(&motion, &privacy);
    device->SetState(kStateMaskSet, AnyCellSet(motion) || AnyCellSet(privacy));
    return 1;
}

int MainWindow::EditSchedule(Device* device) {
    const HeldDevice held(device);
    WeekGrid grid{};
    device->GetSchedule(&grid);
    ScheduleOptions options;
    options.type = device->GetType();
    options.monitoring = device->GetScheduleMonitoring();
    options.streaming = device->GetScheduleStreaming();
    options.grid = &grid;
    if (ShowScheduleWindow(window_, &options, &streaming_) == kPropertyCancelled || !held.StillListed())
        return 0;
    device->StopSchedule();
    device->SetScheduleMonitoring(options.monitoring);
    device->SetScheduleStreaming(options.streaming);
    device->SetSchedule(&grid);
    device->StartSchedule();
    return 1;
}

}  // namespace kestrova
