// assetgen <dir>: writes the game's pictures (<dir>/sprite), sounds (<dir>/sound) and stages (<dir>/Map.dat,
// from the committed stage text),
// and the desktop icon in the icon-theme layout (<dir>/icons/<N>x<N>/apps/plinkwell.png) and as
// the Windows icon file (<dir>/plinkwell.ico).
// The output is the same, byte for byte, on every run.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Bmp.h"
#include "Font.h"
#include "Ico.h"
#include "Icon.h"
#include "Sounds.h"
#include "Sprites.h"
#include "Stages.h"
#include "Wav.h"

namespace {

using namespace assetgen;

bool WriteSprites(const std::string& dir) {
    bool ok = true;
    ok &= WriteBmp8(dir + "/Number.bmp", MakeNumberSheet());
    ok &= WriteBmp8(dir + "/Alphabet.bmp", MakeAlphabetSheet());
    ok &= WriteBmp8(dir + "/Block.bmp", MakeGlossyBlock(IvoryColour()));
    ok &= WriteBmp8(dir + "/BlockRed.bmp", MakeGlossyBlock(RedColour()));
    ok &= WriteBmp8(dir + "/BlockGreen.bmp", MakeGlossyBlock(GreenColour()));
    ok &= WriteBmp8(dir + "/BlockBlue.bmp", MakeGlossyBlock(BlueColour()));
    ok &= WriteBmp8(dir + "/BlockGold.bmp", MakeGoldBlock());
    ok &= WriteBmp8(dir + "/BlockSilver.bmp", MakeSilverBlock());
    ok &= WriteBmp8(dir + "/Broken.bmp", MakeBrokenBlock());
    ok &= WriteBmp8(dir + "/Particle.bmp", MakeParticles());
    ok &= WriteBmp24(dir + "/VantlerAni.bmp", MakePaddleStrip());
    ok &= WriteBmp8(dir + "/MurkVantler.bmp", MakeMurkPaddle());
    ok &= WriteBmp8(dir + "/Life.bmp", MakeLife());
    ok &= WriteBmp24(dir + "/Ball.bmp", MakeBallStrip());
    ok &= WriteBmp24(dir + "/Bullet.bmp", MakeRocket());
    ok &= WriteBmp24(dir + "/BulletExt.bmp", MakeExhaust());
    ok &= WriteBmp8(dir + "/ItemBar.bmp", MakeItemBar());
    ok &= WriteBmp24(dir + "/BG.bmp", MakeBackground());
    ok &= WriteBmp24(dir + "/Intro.bmp", MakeIntro());
    return ok;
}

bool WriteSounds(const std::string& dir) {
    bool ok = true;
    ok &= WriteWav16(dir + "/Vantler.wav", MakePaddleBlip(), kSampleRate);
    ok &= WriteWav16(dir + "/Block.wav", MakeBlockBreak(), kSampleRate);
    ok &= WriteWav16(dir + "/Bounce.wav", MakeWallBounce(), kSampleRate);
    ok &= WriteWav16(dir + "/Metal.wav", MakeMetalClang(), kSampleRate);
    ok &= WriteWav16(dir + "/Start.wav", MakeStartJingle(), kSampleRate);
    ok &= WriteWav16(dir + "/UseItem.wav", MakePurchaseChime(), kSampleRate);
    ok &= WriteWav16(dir + "/Giggle.wav", MakeGiggle(), kSampleRate);
    ok &= WriteWav16(dir + "/Rocket.wav", MakeRocketWhoosh(), kSampleRate);
    ok &= WriteWav16(dir + "/NotEnough.wav", MakeRefusalBuzz(), kSampleRate);
    return ok;
}

// Every size as a PNG in the icon-theme layout under dir, and those a Windows icon holds (up to
// 256) in one Windows icon file.
bool WriteIcons(const std::string& dir, const std::string& windowsIcon) {
    bool ok = true;
    std::vector<RgbaImage> windows;
    for (int size : kIconSizes) {
        const std::string sizeDir = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(sizeDir);
        RgbaImage icon = MakeIcon(size);
        ok &= WritePng(sizeDir + "/plinkwell.png", icon);
        if (size <= kLargestWindowsIcon) windows.push_back(std::move(icon));
    }
    return WriteIco(windowsIcon, windows) && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <output directory>\n");
        return 2;
    }
    std::string root = argv[1];
    std::filesystem::create_directories(root + "/sprite");
    std::filesystem::create_directories(root + "/sound");
    bool ok = WriteSprites(root + "/sprite");
    ok = WriteSounds(root + "/sound") && ok;
    ok = WriteStageFile(PLINKWELL_STAGES_TEXT, root + "/Map.dat") && ok;
    ok = WriteIcons(root + "/icons", root + "/plinkwell.ico") && ok;
    if (!ok) {
        std::fprintf(stderr, "assetgen: could not write everything into %s\n", root.c_str());
        return 1;
    }
    return 0;
}
