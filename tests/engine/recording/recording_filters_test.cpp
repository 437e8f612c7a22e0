#include "engine/recording_filters.h"

#include <gtest/gtest.h>

#include "platform/media/filter_classes.h"

namespace kestrova {
namespace {

using namespace media;

TEST(RecordingFilters, TheCheckNeedsBothFilters) {
    EXPECT_EQ(CheckRecordingFilters(), 1);
    for (const CLSID* missing : {&CLSID_FrameSource, &CLSID_WavDest}) {
        const FilterFactory saved = RegisterFilterClass(*missing, nullptr);
        EXPECT_EQ(CheckRecordingFilters(), 0);
        RegisterFilterClass(*missing, saved);
    }
    EXPECT_EQ(CheckRecordingFilters(), 1);
}

}  // namespace
}  // namespace kestrova
