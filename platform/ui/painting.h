#pragma once
// Invalidation: what a window has to paint. A window with something to paint gets WM_PAINT when its thread's
// queue holds nothing else; BeginPaint (platform/ui/gdi.h) takes the region and validates it.

#include "platform/ui/types.h"

// Adds `rect` (client coordinates; null for the whole client area) to what the window must paint, and to its
// children's unless it clips them (WS_CLIPCHILDREN). `erase` asks for WM_ERASEBKGND first.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
// The bounds of what is left to paint; FALSE when nothing is.
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
// Paints at once (WM_PAINT sent, not queued) the window and then its children, where they need it.
BOOL UpdateWindow(HWND hwnd);

inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;
inline constexpr UINT RDW_FRAME = 0x0400;
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
