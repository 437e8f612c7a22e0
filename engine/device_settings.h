#pragma once
// The 54,804-byte record of the settings a device keeps from one run to the next, as "DevList.db" stores it:
// little-endian, wide texts as UTF-16LE, every field at a fixed offset. The record is its bytes; the
// accessors read and write them one by one, so the layout is the same on any machine and any bytes read back
// safely.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/grids.h"

namespace kestrova {

class DeviceSettings {
public:
    static constexpr size_t kSize = 54804;

    static constexpr size_t kTypeOffset = 0;
    static constexpr size_t kDeviceKeyOffset = 4;
    static constexpr size_t kDeviceKeyUnits = 256;
    static constexpr size_t kCameraPortOffset = 516;
    static constexpr size_t kCameraHostOffset = 520;
    static constexpr size_t kCameraUserOffset = 776;
    static constexpr size_t kCameraPasswordOffset = 1032;
    static constexpr size_t kCameraTextBytes = 256;
    static constexpr size_t kReservedOffset = 1288;
    static constexpr size_t kActionsOffset = 1292;
    static constexpr size_t kActionCount = 9;
    static constexpr size_t kRunFileOffset = 1328;
    static constexpr size_t kRunFileUnits = 1001;
    static constexpr size_t kSendEmailOffset = 3332;
    static constexpr size_t kSmtpServerOffset = 3336;
    static constexpr size_t kSmtpPortOffset = 3388;
    static constexpr size_t kSmtpProtocolOffset = 3392;
    static constexpr size_t kSmtpUserOffset = 3396;
    static constexpr size_t kSmtpPasswordOffset = 3448;
    static constexpr size_t kEmailSenderOffset = 3500;
    static constexpr size_t kEmailRecipientOffset = 3552;
    static constexpr size_t kSmtpTextBytes = 52;
    static constexpr size_t kMotionMaskOffset = 3604;
    static constexpr size_t kPrivacyMaskOffset = 29204;
    static constexpr size_t kMaskAreaBytes = 25600;  // the 6,400 bytes of a MaskGrid, then zeros

    // All zero.
    DeviceSettings() = default;
    // The record stored in `data`; false (and the record left as it was) unless `size` is kSize.
    bool Load(const uint8_t* data, size_t size);

    const uint8_t* Bytes() const { return bytes_.data(); }

    int32_t GetDeviceType() const { return ReadInt(kTypeOffset); }
    void SetDeviceType(int32_t type) { WriteInt(kTypeOffset, type); }
    // Up to 255 characters (UTF-16 units); a field without its terminator is read up to its width minus one.
    std::wstring GetDeviceKey() const;
    void SetDeviceKey(std::wstring_view key);

    int32_t GetCameraPort() const { return ReadInt(kCameraPortOffset); }
    void SetCameraPort(int32_t port) { WriteInt(kCameraPortOffset, port); }
    // UTF-8 texts of at most 255 bytes.
    std::string GetCameraHost() const { return ReadText(kCameraHostOffset, kCameraTextBytes); }
    void SetCameraHost(std::string_view host) { WriteText(kCameraHostOffset, kCameraTextBytes, host); }
    std::string GetCameraUser() const { return ReadText(kCameraUserOffset, kCameraTextBytes); }
    void SetCameraUser(std::string_view user) { WriteText(kCameraUserOffset, kCameraTextBytes, user); }
    std::string GetCameraPassword() const { return ReadText(kCameraPasswordOffset, kCameraTextBytes); }
    void SetCameraPassword(std::string_view pw) { WriteText(kCameraPasswordOffset, kCameraTextBytes, pw); }

    // The action flags in their order: Save, Photo, Video, Audio, Play sound, sound kind, Preview, preview
    // kind, Run. An index outside 0..8 reads 0 and writes nothing.
    int32_t GetAction(size_t index) const;
    void SetAction(size_t index, int32_t value);
    // Up to 1,000 characters (UTF-16 units).
    std::wstring GetRunFile() const;
    void SetRunFile(std::wstring_view path);

    int32_t GetSendEmail() const { return ReadInt(kSendEmailOffset); }
    void SetSendEmail(int32_t on) { WriteInt(kSendEmailOffset, on); }
    int32_t GetSmtpPort() const { return ReadInt(kSmtpPortOffset); }
    void SetSmtpPort(int32_t port) { WriteInt(kSmtpPortOffset, port); }
    int32_t GetSmtpProtocol() const { return ReadInt(kSmtpProtocolOffset); }
    void SetSmtpProtocol(int32_t protocol) { WriteInt(kSmtpProtocolOffset, protocol); }
    // UTF-8 texts of at most 51 bytes.
    std::string GetSmtpServer() const { return ReadText(kSmtpServerOffset, kSmtpTextBytes); }
    void SetSmtpServer(std::string_view text) { WriteText(kSmtpServerOffset, kSmtpTextBytes, text); }
    std::string GetSmtpUser() const { return ReadText(kSmtpUserOffset, kSmtpTextBytes); }
    void SetSmtpUser(std::string_view text) { WriteText(kSmtpUserOffset, kSmtpTextBytes, text); }
    std::string GetSmtpPassword() const { return ReadText(kSmtpPasswordOffset, kSmtpTextBytes); }
    void SetSmtpPassword(std::string_view text) { WriteText(kSmtpPasswordOffset, kSmtpTextBytes, text); }
    std::string GetEmailSender() const { return ReadText(kEmailSenderOffset, kSmtpTextBytes); }
    void SetEmailSender(std::string_view text) { WriteText(kEmailSenderOffset, kSmtpTextBytes, text); }
    std::string GetEmailRecipient() const { return ReadText(kEmailRecipientOffset, kSmtpTextBytes); }
    void SetEmailRecipient(std::string_view text) { WriteText(kEmailRecipientOffset, kSmtpTextBytes, text); }

    MaskGrid GetMotionMask() const { return ReadMask(kMotionMaskOffset); }
    void SetMotionMask(const MaskGrid& mask) { WriteMask(kMotionMaskOffset, mask); }
    MaskGrid GetPrivacyMask() const { return ReadMask(kPrivacyMaskOffset); }
    void SetPrivacyMask(const MaskGrid& mask) { WriteMask(kPrivacyMaskOffset, mask); }

private:
    int32_t ReadInt(size_t offset) const;
    void WriteInt(size_t offset, int32_t value);
    std::string ReadText(size_t offset, size_t width) const;
    // Stores at most width - 1 bytes, cut at a UTF-8 character boundary, and zero-fills the rest.
    void WriteText(size_t offset, size_t width, std::string_view text);
    MaskGrid ReadMask(size_t offset) const;
    void WriteMask(size_t offset, const MaskGrid& mask);

    std::array<uint8_t, kSize> bytes_{};
};

}  // namespace kestrova
