// The microphone's format choice and graph events on a capture filter with a scripted list of formats.

#include <gtest/gtest.h>

#include "engine/mic/microphone_device.h"
#include "platform/media/media_events.h"
#include "platform/media/stream_formats.h"
#include "tests/engine/device/kit/notify_recorder.h"

namespace kestrova {
namespace {

using namespace media;
using testing::Note;
using testing::NotifyRecorder;

// A capture filter that offers the given formats and delivers nothing; a test can make it queue events.
class ScriptedMicrophone : public SourceFilter {
public:
    explicit ScriptedMicrophone(std::vector<AM_MEDIA_TYPE> formats)
        : pin_(AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE)), config_(*pin_, std::move(formats)) {}

    AM_MEDIA_TYPE Current() { return config_.Current(); }
    void Queue(long code) { NotifyEvent(code, 0, 0); }

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin&) override { return {config_.Current()}; }
    bool PinAccepts(IPin&, const AM_MEDIA_TYPE& type) override { return type == config_.Current(); }
    IAMStreamConfig* PinStreamConfig(IPin&) override { return &config_; }
    void Stream(StopFlag&) override {}

private:
    IPin* pin_;
    StreamFormats config_;
};

struct Microphone {
    explicit Microphone(std::vector<AM_MEDIA_TYPE> formats)
        : capture(std::make_shared<ScriptedMicrophone>(std::move(formats))) {
        MicrophoneParams params;
        params.captureFilter = capture;
        params.notifyWindow = notes.window();
        device.Init(&params);
    }
    std::shared_ptr<ScriptedMicrophone> capture;
    NotifyRecorder notes;
    MicrophoneDevice device;
};

TEST(MicrophoneFormat, ElevenKilohertzMonoFirstThenTheFirstSixteenBitEntry) {
    struct Case {
        const char* what;
        std::vector<AM_MEDIA_TYPE> formats;
        AM_MEDIA_TYPE chosen;
    };
    const Case cases[] = {
        {"11,025 Hz mono after other 16-bit entries",
         {MakePcmType(44100, 2, 16), MakePcmType(11025, 1, 8), MakePcmType(22050, 1, 16),
          MakePcmType(11025, 2, 16), MakePcmType(11025, 1, 16), MakePcmType(8000, 1, 16)},
         MakePcmType(11025, 1, 16)},
        {"only 44,100 Hz stereo", {MakePcmType(44100, 2, 16)}, MakePcmType(44100, 2, 16)},
        {"the first 16-bit entry",
         {MakePcmType(11025, 1, 8), MakePcmType(48000, 1, 16), MakePcmType(44100, 2, 16)},
         MakePcmType(48000, 1, 16)},
    };
    for (const Case& c : cases) {
        Microphone mic(c.formats);
        EXPECT_EQ(mic.device.Start(), 1);
        EXPECT_EQ(mic.device.GetState(kStatePowered), 1) << c.what;
        EXPECT_EQ(mic.capture->Current(), c.chosen) << c.what;
    }
}

TEST(MicrophoneFormat, WithoutSixteenBitPcmOrAudioRecordsTheDeviceCannotStart) {
    const std::vector<AM_MEDIA_TYPE> cases[] = {
        {MakePcmType(11025, 1, 8), MakePcmType(44100, 2, 8)},
        {MakeVideoType(MEDIASUBTYPE_RGB24, 640, 480, 24, 333333)},  // capability records of 128 bytes
    };
    for (const auto& formats : cases) {
        Microphone mic(formats);
        EXPECT_EQ(mic.device.Start(), 1);
        EXPECT_EQ(mic.device.GetState(kStatePowered), 0);
        EXPECT_TRUE(mic.notes.Drain().empty());
        EXPECT_EQ(mic.capture->Graph(), nullptr) << "the graph was let go";
        EXPECT_EQ(mic.device.Stop(), 0);
    }
}

TEST(MicrophoneEvents, ALostDeviceIsReportedAndLaterEventsStayQueued) {
    Microphone mic({MakePcmType(11025, 1, 16)});
    EXPECT_EQ(mic.device.HandleGraphEvents(), 0) << "no graph";
    mic.device.Start();
    ASSERT_EQ(mic.device.GetState(kStatePowered), 1);
    mic.capture->Queue(EC_COMPLETE);
    mic.capture->Queue(EC_DEVICE_LOST);
    mic.capture->Queue(EC_PAUSED);
    mic.capture->Queue(EC_DEVICE_LOST);
    EXPECT_EQ(mic.device.HandleGraphEvents(), 1);
    EXPECT_EQ(mic.device.HandleGraphEvents(), 1) << "the events behind the first loss stayed queued";
    EXPECT_EQ(mic.device.HandleGraphEvents(), 0);
}

}  // namespace
}  // namespace kestrova
