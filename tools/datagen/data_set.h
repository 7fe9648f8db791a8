// Every file the game reads, by the bare name the game opens it with, made in memory.
#pragma once

#include <string>
#include <vector>

#include "tools/datagen/canvas.h"

struct NamedPicture {
    std::string name;
    Image image;
};

struct DataFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// The 13 pictures in a fixed order: background, ball sheet, shot, smoke, stain, cannon,
// shields 1 to 7.
std::vector<NamedPicture> MakePictures();
// The 13 pictures as bitmap files followed by the 9 sounds as WAVE files.
std::vector<DataFile> MakeDataFiles();
