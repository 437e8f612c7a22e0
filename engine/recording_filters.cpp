#include "engine/recording_filters.h"

#include "platform/media/filter_classes.h"

namespace kestrova {

int CheckRecordingFilters() {
    for (const media::CLSID* clsid : {&media::CLSID_FrameSource, &media::CLSID_WavDest}) {
        std::shared_ptr<media::IBaseFilter> filter;
        if (media::FAILED(media::CoCreateInstance(*clsid, &filter))) return 0;
    }
    return 1;
}

}  // namespace kestrova
