#include "platform/media/v4l2/v4l2_controls.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>

#include "platform/base/text.h"

namespace kestrova::media {
namespace {

// A menu wider than this is a driver's mistake, not a list anyone could choose from.
constexpr int64_t kLongestMenu = 1024;

HRESULT LastError() {
    return HresultFromErrno(errno);
}

bool KindOf(uint32_t type, DriverControlKind* kind) {
    switch (type) {
        case V4L2_CTRL_TYPE_INTEGER:
            *kind = DriverControlKind::Integer;
            return true;
        case V4L2_CTRL_TYPE_BOOLEAN:
            *kind = DriverControlKind::Boolean;
            return true;
        case V4L2_CTRL_TYPE_MENU:
            *kind = DriverControlKind::Menu;
            return true;
        case V4L2_CTRL_TYPE_INTEGER_MENU:
            *kind = DriverControlKind::IntegerMenu;
            return true;
        case V4L2_CTRL_TYPE_BUTTON:
            *kind = DriverControlKind::Button;
            return true;
        default:
            return false;  // 64-bit integers, strings, bit masks and compound controls are not shown
    }
}

template <size_t N>
std::wstring NameOf(const uint8_t (&field)[N]) {
    return FromUtf8Field(reinterpret_cast<const char*>(field), N);
}

// The indexes of a menu that the driver names; the others are holes in its list.
std::vector<DriverControlChoice> ReadChoices(V4l2Kernel& kernel, int fd, const DriverControl& control) {
    std::vector<DriverControlChoice> choices;
    const int64_t last = std::min<int64_t>(control.maximum, int64_t(control.minimum) + kLongestMenu - 1);
    for (int64_t index = control.minimum; index <= last; ++index) {
        v4l2_querymenu item{};
        item.id = control.id;
        item.index = uint32_t(index);
        if (kernel.Ioctl(fd, VIDIOC_QUERYMENU, &item) != 0) continue;
        std::wstring text;
        if (control.kind == DriverControlKind::IntegerMenu) {
            char number[24];
            std::snprintf(number, sizeof number, "%" PRId64, int64_t(item.value));
            text = FromUtf8(number);
        } else {
            text = NameOf(item.name);
        }
        choices.push_back({int32_t(index), std::move(text)});
    }
    return choices;
}

DriverControl ControlOf(const v4l2_queryctrl& query, DriverControlKind kind, const std::wstring& group) {
    DriverControl control;
    control.id = query.id;
    control.name = NameOf(query.name);
    control.group = group;
    control.kind = kind;
    control.minimum = query.minimum;
    control.maximum = query.maximum;
    control.step = query.step > 0 ? query.step : 1;
    control.defaultValue = query.default_value;
    control.readOnly = (query.flags & V4L2_CTRL_FLAG_READ_ONLY) != 0;
    control.inactive = (query.flags & V4L2_CTRL_FLAG_INACTIVE) != 0;
    return control;
}

}  // namespace

HRESULT ListV4l2Controls(V4l2Kernel& kernel, int fd, std::vector<DriverControl>* controls) {
    if (!controls) return E_POINTER;
    controls->clear();
    std::wstring group = L"Controls";  // until the driver names a class
    v4l2_queryctrl query{};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    uint32_t previous = 0;
    while (kernel.Ioctl(fd, VIDIOC_QUERYCTRL, &query) == 0) {
        const uint32_t id = query.id;
        if (id <= previous) return E_UNEXPECTED;  // a walk that does not move on would never end
        previous = id;
        DriverControlKind kind;
        if (query.type == V4L2_CTRL_TYPE_CTRL_CLASS) {
            group = NameOf(query.name);
        } else if (!(query.flags & V4L2_CTRL_FLAG_DISABLED) && KindOf(query.type, &kind)) {
            DriverControl control = ControlOf(query, kind, group);
            if (kind == DriverControlKind::Menu || kind == DriverControlKind::IntegerMenu)
                control.choices = ReadChoices(kernel, fd, control);
            const bool readable =
                kind != DriverControlKind::Button && !(query.flags & V4L2_CTRL_FLAG_WRITE_ONLY);
            if (readable) control.readResult = GetV4l2Control(kernel, fd, control.id, &control.value);
            controls->push_back(std::move(control));
        }
        query = {};
        query.id = id | V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    // EINVAL is the end of the walk; anything else (the device gone, say) is a failure.
    return errno == EINVAL ? S_OK : LastError();
}

HRESULT GetV4l2Control(V4l2Kernel& kernel, int fd, uint32_t id, int32_t* value) {
    if (!value) return E_POINTER;
    v4l2_control control{};
    control.id = id;
    if (kernel.Ioctl(fd, VIDIOC_G_CTRL, &control) != 0) return LastError();
    *value = control.value;
    return S_OK;
}

HRESULT SetV4l2Control(V4l2Kernel& kernel, int fd, uint32_t id, int32_t value) {
    v4l2_control control{};
    control.id = id;
    control.value = value;
    return kernel.Ioctl(fd, VIDIOC_S_CTRL, &control) == 0 ? S_OK : LastError();
}

HRESULT SetV4l2Controls(V4l2Kernel& kernel, int fd, const std::vector<std::pair<uint32_t, int32_t>>& values,
                        size_t* failedAt) {
    if (!failedAt) return E_POINTER;
    *failedAt = values.size();
    if (values.empty()) return S_OK;
    std::vector<v4l2_ext_control> items(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        items[i].id = values[i].first;
        items[i].value = values[i].second;
    }
    v4l2_ext_controls request{};
    request.which = V4L2_CTRL_WHICH_CUR_VAL;  // controls of several classes in one call
    request.count = uint32_t(items.size());
    request.controls = items.data();
    request.error_idx = request.count;  // a failure that names no control leaves it so
    if (kernel.Ioctl(fd, VIDIOC_S_EXT_CTRLS, &request) == 0) return S_OK;
    const int error = errno;
    if (error != ENOTTY) {
        *failedAt = std::min<size_t>(request.error_idx, values.size());
        return HresultFromErrno(error);
    }
    // A driver without the extended calls takes them one by one.
    for (size_t i = 0; i < values.size(); ++i) {
        const HRESULT hr = SetV4l2Control(kernel, fd, values[i].first, values[i].second);
        if (FAILED(hr)) {
            *failedAt = i;
            return hr;
        }
    }
    return S_OK;
}

}  // namespace kestrova::media
