// Every picture the game loads, each made at the size the game shows it.
#pragma once

#include "Image.h"

namespace assetgen {

// Shared colours of the art: the dark outline that still shows, and the blocks' glossy hues.
Col OutlineColour();
Col IvoryColour();
Col RedColour();
Col GreenColour();
Col BlueColour();
Col GoldColour();

Image MakeGlossyBlock(Col base);  // 40 x 15
Image MakeGoldBlock();
Image MakeSilverBlock();
Image MakeBrokenBlock();
Image MakeParticles();  // 30 x 6: ivory, red, green, blue, gold chips

Image MakePaddleStrip();  // 76 x 100: rest frame, then nine frames of a fading hit flash
Image MakeMurkPaddle();   // 76 x 10
Image MakeLife();         // 30 x 4
Image MakeBallStrip();    // 88 x 11: the ball, then seven trail discs

Image MakeRocket();   // 17 x 38
Image MakeExhaust();  // 91 x 13: seven flames, newest first

Image MakeItemBar();  // 160 x 23
// The icon of shop cell k (0 = key 1 ... 9 = key 0), 11 x 10.
Image MakeItemIcon(int cell);

Image MakeBackground();  // 872 x 600
Image MakeIntro();       // 800 x 600

}  // namespace assetgen
