#pragma once
// The abstract device: everything a camera or microphone has apart from its capture machinery. Its fields are
// grouped by the lock that guards them; other threads reach them only through the accessors, each under its
// group's lock. The kinds (engine/ipcam, engine/usbcam, engine/mic) derive from it and fill the frame.
//
// Lock order. A thread that holds one of these locks takes only locks further down the list:
//   recording lock   (build, teardown, start and stop of the recording graph)
//   detection lock   (the masks)
//   frame lock       (the frame, held for a whole detection pass)
//   settings lock
// The state, window, schedule and alarm locks are leaves: nothing else is taken while one is held (SetState
// reads the notify window before it takes the state lock). No lock is held while a worker is joined, except
// the alarm lock, whose thread takes it no more once it has cleared its running flag.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/captured_frame.h"
#include "engine/device_messages.h"
#include "engine/frame_output.h"
#include "engine/grids.h"
#include "engine/motion_detection.h"
#include "platform/base/lock.h"
#include "platform/base/thread.h"
#include "platform/imaging/bitmap.h"
#include "platform/ui/types.h"

namespace kestrova {

class DeviceSettings;

enum DeviceType : int32_t {
    kDeviceIpCamera = 0,
    kDeviceUsbCamera = 1,
    kDeviceMicrophone = 2,
};

enum DeviceState : int32_t {
    kStatePowered = 0x01,
    kStateMonitoring = 0x02,
    kStateAlarm = 0x04,
    kStatePublished = 0x08,
    kStateRecording = 0x10,
    kStateMaskSet = 0x20,
    kStateScheduleRunning = 0x40,
};

// The nine alarm action flags, in the order they are kept and stored.
enum AlarmAction : int {
    kActionSave = 0,  // master switch of Photo, Video and Audio
    kActionPhoto,
    kActionVideo,
    kActionAudio,
    kActionPlaySound,
    kActionSoundKind,  // 1 "alarm_sirene.wav", any other value "alarm_beep.wav"
    kActionPreview,
    kActionPreviewKind,  // 0 popup, 1 fullscreen
    kActionRun,
    kActionCount,
};

inline constexpr std::array<int32_t, kActionCount> kDefaultActions = {1, 1, 0, 1, 1, 1, 0, 0, 0};

// The device's options with their defaults: the fields of the settings lock.
struct DeviceOptions {
    std::array<int32_t, kActionCount> actions = kDefaultActions;
    std::wstring runFilePath;  // at most 1,000 characters
    int32_t sendEmail = 0;
    std::string smtpServer;  // UTF-8, at most 51 bytes, like the four texts below
    int32_t smtpPort = 0;
    int32_t smtpProtocol = 0;
    std::string smtpUser;
    std::string smtpPassword;
    std::string emailSender;
    std::string emailRecipient;
    int32_t photoFormat = 0;
    int32_t videoCompression = 0;
    int32_t photoQuality = 70;
    int32_t flipVertical = 0;
    int32_t frameSize = 2;
    int32_t tolerance = 5;
    int32_t sensitivity = 5;
    int32_t webIndex = 0;
};

// The schedule the schedule worker follows: the fields of the schedule lock.
struct DeviceSchedule {
    int32_t monitoring = 0;
    int32_t streaming = 0;
    WeekGrid grid{};
};

// The alarm thread and what it shares with the triggers, under the alarm's own lock.
struct AlarmThread {
    CriticalSection lock;
    Worker worker;
    int32_t running = 0;
    int32_t hold = 0;  // whole seconds the alarm still lasts
};

// What one alarm reads at its start (engine/alarm_run.h).
struct AlarmPlan;

// Frame sizes in bytes of a 24-bit frame.
inline constexpr int32_t kFrameBytes320x240 = 320 * 240 * 3;
inline constexpr int32_t kFrameBytes640x480 = 640 * 480 * 3;
inline constexpr int32_t kFrameBytes480x360 = 480 * 360 * 3;  // the microphone's level picture

// Text limits of the device's fields, in characters (wide) or bytes (UTF-8), without the terminator.
inline constexpr size_t kMaxNameChars = 255;
inline constexpr size_t kMaxRunFileChars = 1000;
inline constexpr size_t kMaxSmtpTextBytes = 51;

// The creation record a kind's Init takes; each kind derives its own (IpCameraParams, UsbCameraParams,
// MicrophoneParams).
struct DeviceParams {
    virtual ~DeviceParams() = default;
};

// The recording graph's slots. Its recorders (engine/video_recording.cpp, engine/audio_recording.cpp) define
// it; the device only holds it, through a pointer that needs no definition to be released.
struct RecordingGraph;
class RecordingGraphBuilder;

class Device {
public:
    virtual ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The twenty operations every kind implements, in this order.
    virtual int GetType() = 0;
    virtual int Init(const DeviceParams* params) = 0;
    virtual void GetSettings(DeviceSettings& record) = 0;
    virtual void SetSettings(const DeviceSettings& record) = 0;
    virtual int Start() = 0;
    virtual int Stop() = 0;
    virtual int GetFriendlyName(wchar_t* buffer, int count) = 0;
    virtual int SetFriendlyName(std::wstring_view text) = 0;
    virtual int GetDeviceKey(wchar_t* buffer, int count) = 0;
    virtual int SetDeviceKey(std::wstring_view text) = 0;
    virtual int HandleGraphEvents() = 0;
    virtual int PanLeft(int start, int milliseconds) = 0;
    virtual int PanRight(int start, int milliseconds) = 0;
    virtual int TiltUp(int start, int milliseconds) = 0;
    virtual int TiltDown(int start, int milliseconds) = 0;
    virtual int GetBrightness(int useDefault) = 0;
    virtual int SetBrightness(int level, int useDefault) = 0;
    virtual int GetContrast(int useDefault) = 0;
    virtual int SetContrast(int level, int useDefault) = 0;
    virtual int ShowPropertyPages(HWND owner) = 0;

    // Marks and the list link; user-interface thread only, no lock.
    int32_t GetDeletedMark() const { return deletedMark_; }
    void SetDeletedMark(int32_t mark) { deletedMark_ = mark; }
    int32_t GetSavedMark() const { return savedMark_; }
    void SetSavedMark(int32_t mark) { savedMark_ = mark; }
    Device* GetNext() const { return next_; }
    void SetNext(Device* next) { next_ = next; }

    // State: with mask 0 the whole word, otherwise 1 when any bit of the mask is set.
    int GetState(int32_t mask);
    // Sets (on != 0) or clears the bits and posts kind 2 with them, also when nothing changed.
    void SetState(int32_t bits, int on);

    // Copies the motion and privacy masks into whichever buffer is given.
    void GetMasks(MaskGrid* motion, MaskGrid* privacy);
    // Stores the given masks; the ignore mask becomes the motion mask ORed with the privacy mask.
    void SetMasks(const MaskGrid* motion, const MaskGrid* privacy);

    // Frame output.
    // Draws the current frame stretched (halftone) into `rect` of `dc`; nothing without a frame. Returns 1.
    int DrawFrame(HDC dc, const RECT& rect);
    // Saves the current frame: format 1 JPEG of `quality`, any other PNG, replacing a file that exists. 1 on
    // success; 0 when there is no frame (nothing is written), no encoder is found or the save fails.
    int SaveFrame(std::wstring_view path, int format, int quality);
    // The same, telling why a save failed.
    FrameSave SaveFrameAs(std::wstring_view path, int format, int quality);
    // Copies the current frame when its byte size is `size` (230,400 or 921,600). Without a frame the
    // buffer's first `size` bytes are zeroed and 0 returned; a frame of another size copies nothing and
    // returns 0.
    int CopyFrame(uint8_t* buffer, int size, imaging::BitmapInfo* header);
    // A window that shows every frame of the device (the display's tiles, the popup and fullscreen views) says
    // so whenever it learns of a frame or draws one: for the next second the device decodes each frame as it
    // arrives, on its capture thread, so that painting finds it decoded. Any thread.
    void NoteShown();
    // Whether a window said so within the last second.
    bool IsShown() const;

    // Detection, alarm and schedule workers.
    int StartDetection();
    int StopDetection();
    int TriggerAlarm();
    int StopAlarm();
    int StartSchedule();
    int StopSchedule();

    // Recording (engine/video_recording.cpp, engine/audio_recording.cpp): build (1) or tear down (0) the
    // recording graph, and start (1) or stop (0) a recording into it. Each forwards to a named form below.
    int BuildVideoGraph(int build);
    int RecordVideo(int start);
    int BuildAudioGraph(int build);
    int RecordAudio(int start);
    // The named forms. A device has one recording graph, built for video (cameras) or sound (microphones);
    // tearing it down and stopping its recording are the same for both. 1 on success; building or starting
    // what already runs is a success, and so is stopping what does not record.
    int BuildVideoRecordingGraph();
    int BuildAudioRecordingGraph();
    int TearDownRecordingGraph();  // 0 when there was no graph or it would not stop
    int StartVideoRecording();
    int StartAudioRecording();
    int StopRecording();

    // Settings accessors (settings lock).
    int GetTolerance();
    void SetTolerance(int level);  // clamped to 0..10
    int GetSensitivity();
    void SetSensitivity(int level);  // clamped to 0..10
    int GetFrameSize();              // 1 = 320 x 240, 2 = 640 x 480
    void SetFrameSize(int frameSize);
    int GetPhotoFormat();  // 1 JPEG, any other value PNG
    void SetPhotoFormat(int format);
    int GetPhotoQuality();
    void SetPhotoQuality(int quality);
    int GetVideoCompression();  // 0 High, 1 Medium, 2 uncompressed
    void SetVideoCompression(int compression);
    int GetFlipVertical();
    void SetFlipVertical(int flip);
    int GetSaveFiles();
    void SetSaveFiles(int on);
    int GetSavePhotos();
    void SetSavePhotos(int on);
    int GetRecordVideo();
    void SetRecordVideo(int on);
    int GetRecordAudio();
    void SetRecordAudio(int on);
    int GetPlaySound();
    void SetPlaySound(int on);
    int GetSoundKind();
    void SetSoundKind(int kind);
    int GetPreview();
    void SetPreview(int on);
    int GetPreviewKind();
    void SetPreviewKind(int kind);
    int GetRunFile();
    void SetRunFile(int on);
    // Copies at most `count` characters and a terminator (the buffer holds count + 1); returns the stored
    // length.
    int GetRunFilePath(wchar_t* buffer, int count);
    // Stores at most 1,000 characters; returns the stored length.
    int SetRunFilePath(std::wstring_view path);
    int GetSendEmail();
    void SetSendEmail(int on);
    // The five e-mail texts, kept as UTF-8 of at most 51 bytes. The getters convert to wide text, at most
    // `count` characters and a terminator, and return the wide length; the setters return the stored bytes.
    int GetSmtpServer(wchar_t* buffer, int count);
    int SetSmtpServer(std::wstring_view text);
    int GetSmtpUser(wchar_t* buffer, int count);
    int SetSmtpUser(std::wstring_view text);
    int GetSmtpPassword(wchar_t* buffer, int count);
    int SetSmtpPassword(std::wstring_view text);
    int GetEmailSender(wchar_t* buffer, int count);
    int SetEmailSender(std::wstring_view text);
    int GetEmailRecipient(wchar_t* buffer, int count);
    int SetEmailRecipient(std::wstring_view text);
    int GetSmtpPort();
    void SetSmtpPort(int port);
    int GetSmtpProtocol();  // 0 TLS (STARTTLS), 1 SSL
    void SetSmtpProtocol(int protocol);
    int GetWebIndex();  // 0 not published, -1 to be published, 1..n on the web page
    void SetWebIndex(int index);

    // Schedule accessors (schedule lock).
    int GetScheduleMonitoring();
    void SetScheduleMonitoring(int on);
    int GetScheduleStreaming();
    void SetScheduleStreaming(int on);
    void GetSchedule(WeekGrid* grid);        // null does nothing
    void SetSchedule(const WeekGrid* grid);  // null does nothing

    // Window-lock fields the creator sets before any worker starts.
    HWND GetDisplayWindow();
    void SetDisplayWindow(HWND window);
    HWND GetNotifyWindow();
    void SetNotifyWindow(HWND window);
    std::wstring GetStorageFolder();
    void SetStorageFolder(std::wstring_view folder);  // a trailing "/" is added when missing

protected:
    explicit Device(int32_t type);

    // Shared parts of the kinds' operations.
    // The device list's name rules: empty gives 0 and leaves the buffer alone; otherwise at most `count`
    // characters and a terminator, returning the copied length.
    int CopyDisplayName(wchar_t* buffer, int count);
    int StoreDisplayName(std::wstring_view text);  // cut at 255 characters; returns the stored length
    int CopyDeviceKey(wchar_t* buffer, int count);
    int StoreDeviceKey(std::wstring_view text);
    // The display name in UTF-8, to say in a log line which device met a failure.
    std::string NameForLog();
    // The record fields all kinds share: the action flags, the file to run, Send an email and the six SMTP
    // fields; with `masks`, also the motion and privacy masks (cameras).
    void WriteSharedSettings(DeviceSettings& record, bool masks);
    void ApplySharedSettings(const DeviceSettings& record, bool masks);
    // Puts every base field back to its default (the kinds' Init starts from here).
    void ResetBaseFields();
    // The order a kind's destructor runs before the kind's members go: schedule worker, recording, the kind's
    // Stop, detection (with the recording graph it built), alarm.
    void ShutDown();

    // The one way a kind makes a new current frame, on its capture thread, without the frame lock. Pixels are
    // stored at once with the privacy cells black; a JPEG replaces the kept one and is decoded when the frame
    // is next read (at once while the device is shown). Then the web snapshot is written when one is due, and
    // kind 1 is posted to `notifyWindow` for every frame, also for a JPEG that will turn out not to decode.
    void PublishFrame(const CapturedFrame& frame, HWND notifyWindow);
    // Frees the current frame and the kept pictures (a capture that ends).
    void DropFrame();

    // Frame-lock helpers, called with the frame lock held.
    // Makes the newest JPEG the current frame, once, before a reader looks at the frame. A JPEG that does not
    // decode is dropped and the one received before it becomes the frame; when that does not decode either
    // (or there is none), there is no frame until the next good one.
    void DecodeKeptJpeg();
    // Paints black every block of the current frame whose privacy cell is set.
    void BlackOutPrivacyCells();
    // Motion detection's sample of the current frame, and the byte size of that frame. A JPEG that nobody has
    // decoded is sampled where it lies, without making the frame, and stays to be decoded for the frame's
    // readers; one that cannot be sampled so is decoded (or dropped) as any reader would. False without a frame.
    bool SampleCurrentFrame(MotionSample& sample, int32_t* frameBytes);
    // Decides whether a web snapshot is due now; when it is, notes the time and returns the web index, else
    // 0.
    int TakeWebSnapshotTurn();
    // Called without the frame lock after TakeWebSnapshotTurn gave `webIndex`: writes the frame as JPEG of
    // quality 70 to "<storage>Server/<webIndex>.jpg", replacing the old file in one step. The first failure
    // after a success is logged, not every one of a failing disk's once a second.
    void WriteWebSnapshot(int webIndex);
    // Logs a failed web snapshot unless the one before failed too; a success ends the run of failures.
    void ReportWebSnapshot(FrameSave result, std::wstring_view path, std::string_view reason = {});

    // Posts WM_DEVICE_NOTIFY to `window` (nothing when it is null); with `withinMs`, unhurried: the window's
    // thread may take it up to that long later, with whatever wakes it first.
    void Notify(HWND window, uint16_t kind, uint16_t argument, uint32_t withinMs = 0);

    // Frame lock: the current frame (24-bit rows of exactly width x 3 bytes, bottom-up, blue-green-red; empty
    // when there is none), its header, the newest received JPEG while it is not decoded and the one received
    // before it, the motion reference, the microphone's symbol picture and level, the privacy mask and the
    // time of the last web snapshot.
    CriticalSection frameLock_;
    std::vector<uint8_t> frame_;
    imaging::BitmapInfo frameInfo_{};
    KeptJpeg newestJpeg_;   // waiting to be decoded; empty when the frame is up to date
    KeptJpeg earlierJpeg_;  // the one received before: the frame's own, or one replaced before it was decoded
    int64_t decodedJpegs_ = 0;
    std::atomic<uint64_t> shownUntilMs_{0};  // NoteShown's lease on the installed clock; no lock
    MotionSample motionReference_{};
    int32_t motionReferenceSize_ = 0;  // byte size of the frame the reference was taken from; 0 none
    std::vector<uint8_t> symbolPicture_;
    int32_t soundLevel_ = 0;
    MaskGrid privacyMask_{};
    int64_t lastWebSnapshotTime_ = 0;
    std::atomic<bool> webSnapshotFailing_{false};  // the last web snapshot failed, and that was logged

    // State lock.
    CriticalSection stateLock_;
    int32_t state_ = 0;

    // Detection lock.
    CriticalSection detectionLock_;
    Worker detectionWorker_;
    int32_t detectionRunning_ = 0;
    MaskGrid motionMask_{};
    MaskGrid ignoreMask_{};

    // The alarm thread, with its own lock.
    AlarmThread alarm_;

    // The recording graph's slots, under their own lock (taken by build, teardown and both recorders).
    CriticalSection recordingLock_;
    std::shared_ptr<RecordingGraph> recording_;

    // Schedule lock: the schedule and the worker's running flag.
    CriticalSection scheduleLock_;
    Worker scheduleWorker_;
    int32_t scheduleRunning_ = 0;
    DeviceSchedule schedule_;

    // Settings lock (the IP camera keeps its last pan and tilt command under it too).
    CriticalSection settingsLock_;
    DeviceOptions options_;

    // Window lock.
    CriticalSection windowLock_;
    std::wstring displayName_;
    std::wstring deviceKey_;
    HWND displayWindow_ = nullptr;
    HWND notifyWindow_ = nullptr;
    std::wstring storageFolder_;

    // User-interface thread only.
    const int32_t type_;

private:
    int GetSmtpText(const std::string& field, wchar_t* buffer, int count);
    int SetSmtpText(std::string& field, std::wstring_view text);

    int BuildRecordingGraph(RecordingGraphBuilder& builder);
    int StartRecording(std::wstring_view kind, std::wstring_view extension);

    void RunMotionLoop(StopFlag& stop);
    void RunSoundLoop(StopFlag& stop);
    // Reads what the alarm that starts now does, under the settings and window locks.
    AlarmPlan ReadAlarmPlan();
    void RunAlarmActions(StopFlag& stop);
    // False once the alarm is to end: a stop was requested or its hold ran out.
    bool AlarmGoesOn(const StopFlag& stop);
    void RunSchedule(StopFlag& stop);

    int32_t deletedMark_ = 0;
    int32_t savedMark_ = 0;
    Device* next_ = nullptr;
};

}  // namespace kestrova
