#include "tools/datagen/data_set.h"

#include "tools/datagen/art.h"
#include "tools/datagen/sounds.h"
#include "tools/datagen/wave_writer.h"

std::vector<NamedPicture> MakePictures() {
    std::vector<NamedPicture> pictures{
        {"Background.bmp", MakeBackground()}, {"kugeln.bmp", MakeBallSheet()}, {"shoot.bmp", MakeShot()},
        {"rauch.bmp", MakeSmoke()},           {"Fleck.bmp", MakeStain()},      {"kanone2.bmp", MakeCannon()},
    };
    for (int level = 1; level <= kShieldCount; ++level)
        pictures.push_back({"Shild" + std::to_string(level) + ".bmp", MakeShield(level)});
    return pictures;
}

std::vector<DataFile> MakeDataFiles() {
    std::vector<DataFile> files;
    for (const NamedPicture& p : MakePictures()) files.push_back({p.name, EncodeBmp(p.image)});
    files.push_back({"Shotl.wav", EncodeWave(MakeShotSound(0))});
    files.push_back({"Shotr.wav", EncodeWave(MakeShotSound(1))});
    files.push_back({"flash.wav", EncodeWave(MakeZapSound())});
    files.push_back({"bigex.wav", EncodeWave(MakeBigExplosionSound())});
    for (int k = 0; k < kExplosionCount; ++k)
        files.push_back({"Ex" + std::to_string(k + 1) + ".wav", EncodeWave(MakeExplosionSound(k))});
    return files;
}
