#pragma once
// The AVI multiplexer: video streams in, an AVI file stream out to a File Writer. The file is laid out by
// an AviWriter, which keeps it playable while it grows (see avi_writer.h): a recording cut off by a crash
// loses at most about its last second, and one of any length stays readable past 1 GiB.

#include <memory>
#include <mutex>
#include <vector>

#include "platform/media/avi_writer.h"
#include "platform/media/base_filter.h"

namespace kestrova::media {

class AviMux : public IBaseFilter {
public:
    explicit AviMux(AviLimits limits = {});

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    void PinConnected(IPin& pin) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;
    HRESULT OnRun() override;
    void OnStop() override;

private:
    HRESULT WriteBytes(int64_t position, uint8_t* data, size_t size, bool syncFirst);

    const AviLimits limits_;
    IPin* output_;
    std::vector<IPin*> inputs_;
    std::mutex mutex_;                   // one sample at a time, also from several streams
    std::unique_ptr<AviWriter> writer_;  // while running
    std::vector<IPin*> streams_;         // the inputs recorded, in stream order
};

}  // namespace kestrova::media
