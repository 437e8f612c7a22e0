#include "tools/skin_painter/picture.h"

#include "tools/skin_painter/palette.h"

namespace skin {

void PaintStacked(Canvas& canvas, int faceHeight, const std::vector<Face>& faces,
                  const std::function<void(Canvas& face, Face)>& paint) {
    int y = 0;
    for (Face f : faces) {
        Canvas face(canvas.Width(), faceHeight, kWhite);
        paint(face, f);
        canvas.Draw(face, 0, y);
        y += faceHeight;
    }
}

std::vector<Picture> AllPictures() {
    std::vector<Picture> all;
    for (auto family : {FramePictures, MainWindowPictures, ControlPictures, DisplayPictures, MessagePictures,
                        SchedulePictures}) {
        for (Picture& p : family()) all.push_back(std::move(p));
    }
    return all;
}

}  // namespace skin
