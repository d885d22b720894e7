// The nine sound effects.
#pragma once

#include "Synth.h"

namespace assetgen {

Signal MakePaddleBlip();     // Vantler.wav
Signal MakeBlockBreak();     // Block.wav
Signal MakeWallBounce();     // Bounce.wav
Signal MakeMetalClang();     // Metal.wav
Signal MakeStartJingle();    // Start.wav
Signal MakePurchaseChime();  // UseItem.wav
Signal MakeGiggle();         // Giggle.wav
Signal MakeRocketWhoosh();   // Rocket.wav
Signal MakeRefusalBuzz();    // NotEnough.wav

}  // namespace assetgen
