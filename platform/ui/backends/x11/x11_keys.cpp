#include "platform/ui/backends/x11/x11_keys.h"

#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

struct Named {
    KeySym sym;
    UINT virtualKey;
};

constexpr Named kNamed[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},
    {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},
    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},
    {XK_KP_End, VK_END},
    {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},
    {XK_Insert, VK_INSERT},
    {XK_KP_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},
    {XK_KP_Delete, VK_DELETE},
    {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},
    {XK_Caps_Lock, VK_CAPITAL},
};

// The character of a symbol: Latin-1 symbols are their own code points, others carry theirs above 0x1000000.
wchar_t CharacterOf(KeySym sym) {
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) return wchar_t(sym);
    if ((sym & 0xFF000000) == 0x01000000) return wchar_t(sym & 0x00FFFFFF);
    return 0;
}

}  // namespace

LayerKey LayerKeyOf(KeySym sym, bool shift, bool capsLock) {
    bool capitals = shift != capsLock;
    if (sym >= XK_a && sym <= XK_z && !capitals) return {UINT('A' + (sym - XK_a)), 0};
    if (sym >= XK_A && sym <= XK_Z && capitals) return {UINT(sym), 0};
    if (sym >= XK_0 && sym <= XK_9 && !shift) return {UINT(sym), 0};
    if (sym >= XK_F1 && sym <= XK_F12) return {UINT(VK_F1 + (sym - XK_F1)), 0};
    for (const Named& n : kNamed)
        if (n.sym == sym) return {n.virtualKey, 0};
    if (wchar_t ch = CharacterOf(sym)) return {VK_PACKET, ch};
    return {};
}

}  // namespace kestrova::ui
