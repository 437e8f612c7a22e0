#pragma once
// Xlib for the backend. Xlib names a type with a macro ("Status") that the layer's own headers use as a name,
// so the macro goes once Xlib's declarations have taken it.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

#undef Status
