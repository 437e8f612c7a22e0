#pragma once
// A picture the painter makes: its file name, its size, and the code that paints it onto a white canvas of
// that size. Each family of pictures lists its own; AllPictures() gathers them.

#include <functional>
#include <string>
#include <vector>

#include "tools/skin_painter/canvas.h"

namespace skin {

struct Picture {
    std::string name;  // the file is name + ".png"
    int width = 0;
    int height = 0;
    std::function<void(Canvas&)> paint;
};

// The states a skinned control stacks, top to bottom, in this order.
enum class Face { Normal, Hover, Pressed, Disabled };
inline const std::vector<Face> kFourFaces{Face::Normal, Face::Hover, Face::Pressed, Face::Disabled};

// Paints `faces` of the canvas's width and `faceHeight` rows each, one under the other, each on its own white
// canvas first so no face can spill into the next.
void PaintStacked(Canvas& canvas, int faceHeight, const std::vector<Face>& faces,
                  const std::function<void(Canvas& face, Face)>& paint);

std::vector<Picture> FramePictures();       // window frames and caption buttons
std::vector<Picture> MainWindowPictures();  // the main window, its tool buttons and device list
std::vector<Picture> ControlPictures();     // text buttons, check boxes, radios, slider, link, marks
std::vector<Picture> DisplayPictures();     // buttons over the live picture
std::vector<Picture> MessagePictures();     // message box icons, the About emblem
std::vector<Picture> SchedulePictures();    // the schedule grid

std::vector<Picture> AllPictures();

}  // namespace skin
