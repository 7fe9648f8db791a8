// dreel-datagen: writes the game's pictures and sounds into a folder, and on request a
// contact sheet (one PNG showing every picture) for people to look at, and the
// application icons for an install.
//
//   dreel-datagen OUTPUT_FOLDER
//   dreel-datagen --contact-sheet FILE.png
//   dreel-datagen --icons FOLDER        (icon-N.png, dreel.ico holding those of 48 to
//                                        256, and icon-64.bmp for the game's window)
//   dreel-datagen OUTPUT_FOLDER --contact-sheet FILE.png --icons FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>
#include <string>
#include <string_view>

#include "runtime/paths.h"
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
                 "  128, 256, and 192 and 512 for the web page), dreel.ico and icon-64.bmp\n"
                 "  into FOLDER\n");
    return 2;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "dreel-datagen: cannot write %s\n", Utf8OfPath(path).c_str());
    return static_cast<bool>(out);
}

bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) std::fprintf(stderr, "dreel-datagen: cannot create %s: %s\n", Utf8OfPath(folder).c_str(), ec.message().c_str());
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

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A Windows icon file holding the PNG icons as they are (Windows reads PNG entries):
// a 6-byte header, a 16-byte entry per image, then the images.
std::vector<uint8_t> IconFile(const std::vector<std::pair<int32_t, std::vector<uint8_t>>>& pngs) {
    std::vector<uint8_t> ico;
    const auto put16 = [&](uint32_t v) { ico.push_back(static_cast<uint8_t>(v)), ico.push_back(static_cast<uint8_t>(v >> 8)); };
    const auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    put16(0), put16(1), put16(static_cast<uint32_t>(pngs.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * pngs.size());
    for (const auto& [side, bytes] : pngs) {
        ico.push_back(static_cast<uint8_t>(side & 0xFF)), ico.push_back(static_cast<uint8_t>(side & 0xFF));  // 256 is 0
        put16(0), put16(1), put16(32);  // no palette, one plane, 32 bits
        put32(static_cast<uint32_t>(bytes.size())), put32(offset);
        offset += static_cast<uint32_t>(bytes.size());
    }
    for (const auto& image : pngs) ico.insert(ico.end(), image.second.begin(), image.second.end());
    return ico;
}

bool WriteIcons(const std::filesystem::path& folder) {
    if (!MakeFolder(folder)) return false;
    const auto pathOf = [&](int32_t side) { return folder / ("icon-" + std::to_string(side) + ".png"); };
    std::vector<std::pair<int32_t, std::vector<uint8_t>>> pngs;
    for (int32_t side : {48, 64, 128, 256}) {
        if (!WritePicture(Utf8OfPath(pathOf(side)), MakeIcon(side))) return false;
        pngs.emplace_back(side, ReadFile(pathOf(side)));
    }
    // The web page's manifest asks for these two; a Windows icon file stops at 256.
    for (int32_t side : {192, 512})
        if (!WritePicture(Utf8OfPath(pathOf(side)), MakeIcon(side))) return false;
    // The game's window takes a bitmap: it reads no PNG.
    return WriteFile(folder / "dreel.ico", IconFile(pngs)) &&
           WriteFile(folder / "icon-64.bmp", EncodeBmp(MakeIcon(64)));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = ProgramArguments(argc, argv);
    const size_t count = args.size();
    std::string folder, sheet, icons;
    for (size_t i = 1; i < count; ++i) {
        const std::string_view arg = args[i];
        if (arg == "--contact-sheet" && i + 1 < count && sheet.empty()) {
            sheet = args[++i];
        } else if (arg == "--icons" && i + 1 < count && icons.empty()) {
            icons = args[++i];
        } else if (!arg.empty() && arg[0] != '-' && folder.empty()) {
            folder = args[i];
        } else {
            return Usage();
        }
    }
    if (folder.empty() && sheet.empty() && icons.empty()) return Usage();
    if (!folder.empty() && !WriteData(PathOfUtf8(folder))) return 1;
    if (!sheet.empty() && !WritePicture(sheet, MakeContactSheet(MakePictures()))) return 1;
    if (!icons.empty() && !WriteIcons(PathOfUtf8(icons))) return 1;
    return 0;
}
