#pragma once
// Owner drawing: a control that leaves its items to its parent asks it for their size (WM_MEASUREITEM) and
// has it paint each one (WM_DRAWITEM). Both go to the parent with wParam = the control's id and lParam = the
// structure below.

#include "platform/ui/types.h"

inline constexpr UINT ODT_LISTBOX = 2;

// What the parent is asked to draw (itemAction).
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;

// The item's state (itemState).
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_FOCUS = 0x0010;

struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;  // the parent writes the height it wants here
    uintptr_t itemData = 0;
};

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;  // UINT(-1) when there is no item to draw
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;  // the control's, clipped to where its items show
    RECT rcItem;        // the item's place in the control's client area
    uintptr_t itemData = 0;
};
