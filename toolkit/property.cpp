#include "toolkit/property.h"

#include "platform/ui/painting.h"

namespace kestrova::toolkit {

void PropertyMessage::RepaintIfAsked() const {
    if (Sets() && HIWORD(wParam_) != 0) InvalidateRect(control_, nullptr, FALSE);
}

LRESULT PropertyMessage::Apply(int32_t& field) const {
    if (Sets()) {
        field = int32_t(lParam_);
        RepaintIfAsked();
    }
    return field;
}

LRESULT PropertyMessage::Apply(WordPair& field) const {
    if (Sets()) {
        field = WordPair::Unpack(lParam_);
        RepaintIfAsked();
    }
    return field.Packed();
}

}  // namespace kestrova::toolkit
