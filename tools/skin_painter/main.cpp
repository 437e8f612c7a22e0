// skin_painter FOLDER
//     Paints every skin picture into FOLDER as NAME.png (the resource manifest names them) and writes
//     FOLDER/painted.stamp last, for the build to depend on.
// skin_painter --sheet MANIFEST OUTPUT.png FOLDER...
//     Lays every bitmap the manifest lists, found in the FOLDERs in turn, out on one contact sheet.

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/respack/manifest.h"
#include "tools/skin_painter/contact_sheet.h"
#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"

namespace {

using skin::Canvas;

int PaintAll(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const skin::Picture& picture : skin::AllPictures()) {
        Canvas canvas(picture.width, picture.height, skin::kWhite);
        picture.paint(canvas);
        std::string error;
        if (!skin::WritePng(canvas, (folder / (picture.name + ".png")).string(), &error)) {
            std::cerr << "skin_painter: " << error << '\n';
            return 1;
        }
    }
    std::ofstream stamp(folder / "painted.stamp", std::ios::trunc);
    stamp << "painted\n";
    return stamp ? 0 : 1;
}

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return bool(in) || in.eof();
}

int MakeSheet(const std::string& manifestPath, const std::string& outputPath,
              const std::vector<std::string>& folders) {
    std::string text;
    if (!ReadText(manifestPath, text)) {
        std::cerr << "skin_painter: " << manifestPath << " cannot be read\n";
        return 1;
    }
    std::vector<std::string> errors;
    std::vector<respack::ManifestEntry> entries = respack::ParseManifest(text, errors);
    respack::SortForLookup(entries);
    std::vector<skin::SheetItem> items;
    for (const respack::ManifestEntry& entry : entries) {
        if (entry.kind != "bitmap") continue;
        skin::SheetItem item{entry.id, Canvas(1, 1, skin::kWhite)};
        bool present = false;
        for (const std::string& folder : folders) {
            const std::string path = folder + "/" + entry.file;
            if (!std::filesystem::exists(path)) continue;
            present = true;
            std::string error;
            if (!skin::ReadPicture(path, &item.picture, &error)) errors.push_back(error);
            break;
        }
        if (!present) errors.push_back(entry.file + " is in none of the folders given");
        items.push_back(std::move(item));
    }
    if (!errors.empty()) {
        for (const std::string& error : errors) std::cerr << "skin_painter: " << error << '\n';
        return 1;
    }
    std::string error;
    if (!skin::WritePng(skin::ContactSheet(items, 1900, 2), outputPath, &error)) {
        std::cerr << "skin_painter: " << error << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2) return PaintAll(argv[1]);
        if (argc >= 5 && std::string(argv[1]) == "--sheet")
            return MakeSheet(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "skin_painter: " << e.what() << '\n';
        return 1;
    }
    std::cerr << "usage: skin_painter FOLDER\n       skin_painter --sheet MANIFEST OUTPUT.png FOLDER...\n";
    return 2;
}
