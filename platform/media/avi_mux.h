#pragma once
// The AVI multiplexer: video streams in, an AVI file stream out to a File Writer. libavformat writes the
// container as OpenDML (AVI 2.0): past 1 GiB it goes on in extension chunks with their own index, so a
// recording of any length stays readable; the indexes are finished when the graph stops.

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/media/base_filter.h"

struct AVFormatContext;
struct AVIOContext;

namespace kestrova::media {

class AviMux : public IBaseFilter {
public:
    AviMux();
    ~AviMux() override;

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    void PinConnected(IPin& pin) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;
    HRESULT OnRun() override;
    void OnStop() override;

private:
    struct Stream {
        IPin* pin;
        int index;       // the container's stream index
        int64_t frames;  // frames written so far
        int64_t timePerFrame;
    };

    static int WritePacket(void* opaque, uint8_t* data, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);
    void Close();

    IPin* output_;
    std::vector<IPin*> inputs_;
    std::mutex mutex_;  // one packet at a time, also from several streams
    AVFormatContext* format_ = nullptr;
    std::vector<Stream> streams_;
    int64_t position_ = 0;  // where the next byte of the file stream goes
    int64_t size_ = 0;      // bytes in the file so far
    HRESULT writeResult_ = S_OK;
};

}  // namespace kestrova::media
