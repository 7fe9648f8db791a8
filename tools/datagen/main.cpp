// dreel-datagen: writes the game's pictures and sounds into a folder, and on request a
// contact sheet (one PNG showing every picture) for people to look at, and the
// application icons for an install.
//
//   dreel-datagen OUTPUT_FOLDER
//   dreel-datagen --contact-sheet FILE.png
//   dreel-datagen --icons FOLDER
//   dreel-datagen OUTPUT_FOLDER --contact-sheet FILE.png --icons FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/common/png_writer.h"
#include "tools/datagen/art.h"
#include "tools/datagen/contact_sheet.h"
#include "tools/datagen/data_set.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: dreel-datagen [OUTPUT_FOLDER] [--contact-sheet FILE.png] [--icons FOLDER]\n"
                 "  writes the game's 13 pictures and 9 sounds into OUTPUT_FOLDER, an overview\n"
                 "  of all pictures as a PNG file, and/or the icons icon-N.png (N = 48, 64,\n"
                 "  128, 256) into FOLDER\n");
    return 2;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "dreel-datagen: cannot write %s\n", path.string().c_str());
    return static_cast<bool>(out);
}

bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) std::fprintf(stderr, "dreel-datagen: cannot create %s: %s\n", folder.string().c_str(), ec.message().c_str());
    return !ec;
}

bool WritePicture(const std::string& path, const Image& image) {
    std::string error;
    if (WritePng(path.c_str(), image.width, image.height, image.pixels.data(), &error)) return true;
    std::fprintf(stderr, "dreel-datagen: %s\n", error.c_str());
    return false;
}

bool WriteData(const std::filesystem::path& folder) {
    if (!MakeFolder(folder)) return false;
    for (const DataFile& f : MakeDataFiles())
        if (!WriteFile(folder / f.name, f.bytes)) return false;
    return true;
}

bool WriteIcons(const std::filesystem::path& folder) {
    if (!MakeFolder(folder)) return false;
    for (int32_t side : {48, 64, 128, 256})
        if (!WritePicture((folder / ("icon-" + std::to_string(side) + ".png")).string(), MakeIcon(side))) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder, sheet, icons;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc && sheet.empty()) {
            sheet = argv[++i];
        } else if (arg == "--icons" && i + 1 < argc && icons.empty()) {
            icons = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && folder.empty()) {
            folder = argv[i];
        } else {
            return Usage();
        }
    }
    if (folder.empty() && sheet.empty() && icons.empty()) return Usage();
    if (!folder.empty() && !WriteData(folder)) return 1;
    if (!sheet.empty() && !WritePicture(sheet, MakeContactSheet(MakePictures()))) return 1;
    if (!icons.empty() && !WriteIcons(icons)) return 1;
    return 0;
}
