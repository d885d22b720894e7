// Icons of the ten shop items, 11 x 10 each, in shop order (keys 1 to 9, then 0).
#include "Draw.h"
#include "Sprites.h"

namespace assetgen {
namespace {

using Rows = std::vector<std::string>;

const Rows kIcons[10] = {
    // 1: a long paddle stretching both ways
    {"..y.....y..", ".yy.....yy.", "yyyyyyyyyyy", ".yy.....yy.", "..y.....y..", "...........", "rrcccccccrr",
     "RRmmmmmmmRR", "RRdddddddRR", "..........."},
    // 2: ghost paddles trailing the real one
    {"...........", "aaaaaaa....", "AAAAAAA....", "...........", "..bbbbbbb..", "..BBBBBBB..", "...........",
     "....rcccccr", "....RmmmmmR", "..........."},
    // 3: two balls
    {"......hkk..", ".....hkkkn.", ".....kkknn.", ".....kknnN.", "......nnN..", ".hkk.......", "hkkkn......",
     "kkknn......", "kknnN......", ".nnN......."},
    // 4: a drop of glue
    {".....g.....", "....ggg....", "....ggg....", "...ggggg...", "..gqgggggG.", "..qqggggGG.", "..gggggGGG.",
     "...gggGGG..", "....GGGG...", "..........."},
    // 5: an arrow through a brick
    {".....h.....", "....hhh....", "...hhhhh...", ".....y.....", "lllllyllll.", "rrrrryrrrrR", "RRRRRyRRRRR",
     ".....y.....", "....y.y....", "...y...y..."},
    // 6: many balls
    {".hk....hk..", "hkkn..hkkn.", ".kn....kn..", "...hk......", "..hkkn.....", "...kn..hk..", ".hk...hkkn.",
     "hkkn...kn..", ".kn........", "..........."},
    // 7: a rocket
    {".....r.....", "....rrr....", "....www....", "....wew....", "....www....", "....www....", "...rwwwr...",
     "..rrrwrrr..", "....yoy....", ".....o....."},
    // 8: a paddle that plays by itself
    {"....yyy....", "...yy.yy...", "...yy.yy...", "...yyyyy...", "...yy.yy...", "...yy.yy...", "...........",
     "rrcccccccrr", "RRmmmmmmmRR", "..........."},
    // 9: one more paddle
    {".rrr...rrr.", "rrlrr.rrrrr", "rllrrrrrrRr", "rrrrrrrrrRr", ".rrrrrrrRR.", "..rrrrrRR..", "...rrrRR...",
     "....rRR....", ".....R.....", "..........."},
    // 0: on to the next stage
    {"...........", "gg...gg....", ".gg...gg...", "..gg...gg..", "...gg...gg.", "...gg...gg.", "..gg...gg..",
     ".gg...gg...", "gg...gg....", "..........."},
};

CharPalette IconPalette() {
    return {
        {'y', {255, 222, 70}},  {'r', {232, 58, 66}},   {'R', {150, 28, 38}},   {'l', {255, 150, 150}},
        {'c', {232, 238, 250}}, {'m', {150, 160, 184}}, {'d', {94, 102, 126}},  {'a', {52, 70, 130}},
        {'A', {38, 50, 100}},   {'b', {90, 126, 214}},  {'B', {62, 90, 170}},   {'h', {255, 255, 255}},
        {'k', {140, 224, 255}}, {'n', {54, 134, 224}},  {'N', {30, 72, 160}},   {'g', {110, 230, 90}},
        {'G', {40, 150, 56}},   {'q', {216, 255, 190}}, {'w', {236, 240, 250}}, {'e', {90, 190, 255}},
        {'o', {255, 150, 40}},
    };
}

}  // namespace

Image MakeItemIcon(int cell) {
    return FromRows(kIcons[cell], IconPalette());
}

}  // namespace assetgen
