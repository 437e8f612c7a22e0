#include "platform/shell/camera_controls_layout.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

std::vector<media::DriverControl> Controls(std::initializer_list<std::pair<const wchar_t*, size_t>> groups) {
    std::vector<media::DriverControl> controls;
    for (const auto& [group, count] : groups)
        for (size_t i = 0; i < count; ++i) {
            media::DriverControl control;
            control.group = group;
            controls.push_back(control);
        }
    return controls;
}

TEST(CameraControlPagesTest, OnePagePerClassAndALongClassGoesOnOverMorePages) {
    struct Page {
        std::wstring title;
        size_t first, count;
    };
    struct Case {
        std::vector<media::DriverControl> controls;
        std::vector<Page> pages;
    } const cases[] = {
        {{}, {}},
        {Controls({{L"User Controls", 3}}), {{L"User Controls", 0, 3}}},
        {Controls({{L"User Controls", kRowsPerPage + 2}, {L"Camera Controls", 1}}),
         {{L"User Controls", 0, kRowsPerPage},
          {L"User Controls (more)", kRowsPerPage, 2},
          {L"Camera Controls", kRowsPerPage + 2, 1}}},
    };
    for (const Case& c : cases) {
        const std::vector<ControlPage> pages = PageControls(c.controls);
        ASSERT_EQ(pages.size(), c.pages.size());
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].title, c.pages[i].title);
            EXPECT_EQ(pages[i].first, c.pages[i].first);
            EXPECT_EQ(pages[i].count, c.pages[i].count);
        }
    }
}

}  // namespace
}  // namespace kestrova
