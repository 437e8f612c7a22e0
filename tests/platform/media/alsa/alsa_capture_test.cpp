// ALSA capture devices through ALSA's file plugin: listing, the device enumerator's audio inputs, the
// formats offered and capture into a Sample Grabber.

#include "platform/media/alsa/alsa_capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "alsa_file_devices.h"
#include "platform/media/alsa/alsa_devices.h"
#include "platform/media/capture_graph_builder.h"
#include "platform/media/device_enumerator.h"
#include "platform/media/sample_grabber.h"

namespace kestrova::media {
namespace {

using mediatest::AlsaFileDevices;

// Samples 0, 1, 2 ... so that every position of the input shows where it came from.
std::vector<int16_t> Ramp(int count) {
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) samples[size_t(i)] = int16_t(i);
    return samples;
}

// Keeps the first buffers it is shown.
class FirstBuffers : public ISampleGrabberCB {
public:
    HRESULT SampleCB(double, MediaSample*) override { return E_NOTIMPL; }
    HRESULT BufferCB(double time, uint8_t* buffer, long length) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (buffers_.size() < 3) {
            buffers_.emplace_back(buffer, buffer + length);
            times_.push_back(time);
        }
        return S_OK;
    }
    bool WaitFor(size_t count) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < giveUp) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (buffers_.size() >= count) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    std::vector<std::vector<uint8_t>> buffers_;
    std::vector<double> times_;

private:
    std::mutex mutex_;
};

TEST(AlsaDevices, ListsTheCaptureDevicesThatOpen) {
    AlsaFileDevices devices;
    devices.Add("deskmic", "Desk Microphone\nUSB audio", Ramp(100), 10);
    devices.AddBroken("brokenmic", "Broken Microphone");
    devices.Add("roommic", "Room Microphone", Ramp(100), 10);

    const std::vector<AlsaDevice> listed = ListAlsaCaptureDevices();
    ASSERT_EQ(listed.size(), 2u);  // the system's "null" and the device that does not open are left out
    EXPECT_EQ(listed[0].pcmName, "deskmic");
    EXPECT_EQ(listed[0].friendlyName, L"Desk Microphone");
    EXPECT_EQ(listed[1].pcmName, "roommic");
    EXPECT_EQ(listed[1].friendlyName, L"Room Microphone");
}

TEST(AlsaDevices, EnumeratorNumbersTheAudioInputs) {
    AlsaFileDevices devices;
    devices.Add("deskmic", "Desk Microphone", Ramp(100), 10);
    devices.Add("roommic", "Room Microphone", Ramp(100), 10);
    ScopedEnv virtualDevices("KESTROVA_VIRTUAL_DEVICES", "1");

    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    ASSERT_EQ(enumerator.CreateClassEnumerator(CLSID_AudioInputDeviceCategory, &monikers), S_OK);
    ASSERT_EQ(monikers.size(), 3u);
    const wchar_t* names[] = {L"Desk Microphone", L"Room Microphone", kVirtualMicrophoneName};
    for (size_t i = 0; i < monikers.size(); ++i) {
        std::shared_ptr<IPropertyBag> bag;
        ASSERT_EQ(monikers[i]->BindToStorage(&bag), S_OK);
        VARIANT value;
        ASSERT_EQ(bag->Read(L"FriendlyName", &value), S_OK);
        EXPECT_EQ(value.bstrVal, names[i]);
        ASSERT_EQ(bag->Read(L"WaveInID", &value), S_OK);
        EXPECT_EQ(value.vt, VT_I4);
        EXPECT_EQ(value.lVal, int32_t(i));
        EXPECT_EQ(bag->Read(L"DevicePath", &value), E_FAIL);
    }
    // A microphone is bound twice, for the live and the recording graph.
    std::shared_ptr<IBaseFilter> live, recording;
    EXPECT_EQ(monikers[0]->BindToObject(&live), S_OK);
    EXPECT_EQ(monikers[0]->BindToObject(&recording), S_OK);
    EXPECT_NE(live, recording);
}

TEST(AlsaCaptureFormats, OfferEverySixteenBitRateAndChannelCountTheDeviceTakes) {
    AlsaFileDevices devices;
    devices.Add("deskmic", "Desk Microphone", Ramp(100), 10);
    AlsaCapture capture("deskmic");
    ASSERT_TRUE(capture.Usable());
    IAMStreamConfig* config = capture.GetPin(0)->StreamConfig();
    int count = 0, size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    EXPECT_EQ(size, 52);
    ASSERT_EQ(count, 12);
    bool sawMono11025 = false;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE type;
        AUDIO_STREAM_CONFIG_CAPS caps;
        ASSERT_EQ(config->GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps)), S_OK);
        EXPECT_EQ(type.majortype, MEDIATYPE_Audio);
        EXPECT_EQ(type.subtype, MEDIASUBTYPE_PCM);
        EXPECT_EQ(type.cbFormat(), 18u);
        const WAVEFORMATEX* wave = type.WaveFormat();
        ASSERT_NE(wave, nullptr);
        EXPECT_EQ(wave->wBitsPerSample, 16);
        EXPECT_EQ(wave->nBlockAlign, wave->nChannels * 2);
        EXPECT_EQ(caps.MinimumSampleFrequency, wave->nSamplesPerSec);
        sawMono11025 |= wave->nSamplesPerSec == 11025 && wave->nChannels == 1;
    }
    EXPECT_TRUE(sawMono11025);

    AlsaCapture missing("nosuchmic");
    EXPECT_FALSE(missing.Usable());
}

TEST(AlsaCaptureStream, DeliversTheDevicesBytesATenthOfASecondAtATime) {
    AlsaFileDevices devices;
    devices.Add("deskmic", "Desk Microphone", Ramp(11025 * 2), 1);
    auto capture = std::make_shared<AlsaCapture>("deskmic");
    auto graph = std::make_shared<FilterGraph>();
    CaptureGraphBuilder builder;
    builder.SetFiltergraph(graph);
    ASSERT_EQ(graph->AddFilter(capture, L"Audio Capture"), S_OK);
    std::shared_ptr<IAMStreamConfig> config;
    ASSERT_EQ(builder.FindInterface(PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio, capture.get(), &config), S_OK);
    ASSERT_EQ(config->SetFormat(MakePcmType(11025, 1, 16)), S_OK);

    auto grabberFilter = std::make_shared<SampleGrabber>();
    ASSERT_EQ(graph->AddFilter(grabberFilter, L"Sample Grabber"), S_OK);
    AM_MEDIA_TYPE pcm;
    pcm.majortype = MEDIATYPE_Audio;
    pcm.subtype = MEDIASUBTYPE_PCM;
    pcm.formattype = FORMAT_WaveFormatEx;
    grabberFilter->SetMediaType(pcm);
    FirstBuffers callback;
    grabberFilter->SetCallback(&callback, 1);
    ASSERT_EQ(builder.RenderStream(PIN_CATEGORY_CAPTURE, MEDIATYPE_Audio, capture.get(), nullptr,
                                   grabberFilter.get()),
              S_OK);

    for (int run = 0; run < 2; ++run) {  // a stopped device starts again
        ASSERT_EQ(graph->Run(), S_OK);
        ASSERT_TRUE(callback.WaitFor(2));
        graph->Stop();
        ASSERT_GE(callback.buffers_.size(), 2u);
        const std::vector<uint8_t>& first = callback.buffers_[0];
        ASSERT_EQ(first.size(), 1102u * 2);
        const std::vector<int16_t> expected = Ramp(1102 * 2);
        EXPECT_EQ(std::memcmp(first.data(), expected.data(), first.size()), 0);
        EXPECT_EQ(std::memcmp(callback.buffers_[1].data(), expected.data() + 1102, first.size()), 0);
        EXPECT_DOUBLE_EQ(callback.times_[0], 0.0);
        EXPECT_NEAR(callback.times_[1], 1102.0 / 11025.0, 1e-6);
        callback.buffers_.clear();
        callback.times_.clear();
    }
}

}  // namespace
}  // namespace kestrova::media
