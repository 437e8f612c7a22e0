#pragma once
// The symbols the skins carry, each drawn around (0, 0) in a 16 x 16 design box (-8..8 both ways) and placed
// with Placed(): one definition per symbol, so a caption button, a tool button and an overlay that show the
// same thing show it the same way. `stroke` is the line width in design units.

#include "tools/skin_painter/shape.h"

namespace skin::glyph {

enum class Direction { Left, Right, Up, Down };

Shape Cross(double stroke);                 // close, remove
Shape Minus(double stroke);                 // hide
Shape Menu(double stroke);                  // three bars
Shape Tick(double stroke);                  // a check mark
Shape Chevron(Direction d, double stroke);  // an open arrow head
Shape Triangle(Direction d);                // a solid arrow head filling the box's middle
Shape Power(double stroke);
Shape Bell();                    // alarm
Shape Broadcast(double stroke);  // streaming
Shape Mask();                    // a masked area
Shape Clock(double stroke);      // scheduling
Shape Sliders(double stroke);    // device properties
Shape Display();                 // display properties: four pictures on one display
Shape List(double stroke);       // the device list
Shape Gear();                    // settings
Shape Fullscreen(double stroke);
Shape PopOut(double stroke);  // a picture in a window of its own
Shape Camera();
Shape Microphone(double stroke);

}  // namespace skin::glyph
