#include "Stages.h"

#include <map>

#include "Bytes.h"

namespace assetgen {
namespace {

using Layout = std::vector<std::string>;

// '.' empty; P plain, R red, G green, B blue, Y gold, S silver, K cracked silver.
const std::map<char, int> kCodes = {{'P', 0}, {'R', 1}, {'G', 2}, {'B', 3}, {'Y', 4}, {'S', 5}, {'K', 6}};

const Layout kLayouts[] = {
    // 1: first light
    {"...............", "...............", "...............", ".PPPPPPPPPPPPP.", ".RRRRRRRRRRRRR.",
     ".GGGGGGGGGGGGG.", ".BBBBBBBBBBBBB.", ".PPPPPPPPPPPPP."},
    // 2: pyramid on a silver plinth
    {"...............", "...............", ".......R.......", "......RRR......", ".....GGGGG.....",
     "....GGGGGGG....", "...BBBBBBBBB...", "..BBBBBBBBBBB..", ".PPPPPPPPPPPPP.", "SSSSSSSSSSSSSSS"},
    // 3: heart
    {"...............", "...............", "...RRR...RRR...", "..RRRRR.RRRRR..", ".RRPPRRRRRRRRR.",
     ".RPPRRRRRRRRRR.", ".RRRRRRRRRRRRR.", "..RRRRRRRRRRR..", "...RRRRRRRRR...", "....RRRRRRR....",
     ".....RRRRR.....", "......RRR......", ".......R......."},
    // 4: invader over its bunkers
    {"...............", "...............", "....G.....G....", ".....G...G.....", "....GGGGGGG....",
     "...GGRGGGRGG...", "..GGGGGGGGGGG..", "..G.GGGGGGG.G..", "..G.G.....G.G..", ".....GG.GG.....",
     "...............", "...............", "...............", ".SKS...S...SKS.", ".S.S..SSS..S.S."},
    // 5: checkerboard
    {"...............", "SSSSSSSSSSSSSSS", "...............", "R.R.R.R.R.R.R.R", ".G.G.G.G.G.G.G.",
     "B.B.B.B.B.B.B.B", ".P.P.P.P.P.P.P.", "R.R.R.R.R.R.R.R", ".G.G.G.G.G.G.G.", "B.B.B.B.B.B.B.B",
     ".P.P.P.P.P.P.P."},
    // 6: diamond with a golden heart
    {"...............", ".......B.......", "......BPB......", ".....BPRPB.....", "....BPRGRPB....",
     "...BPRGYGRPB...", "..BPRGYYYGRPB..", "...BPRGYGRPB...", "....BPRGRPB....", ".....BPRPB.....",
     "......BPB......", ".......B.......", "...............", "Y.............Y"},
    // 7: castle: gold walls with gates
    {"...............", ".Y.Y.......Y.Y.", ".YYY.......YYY.", ".YRY.S.S.S.YRY.", ".YRY.SSSSS.YRY.",
     ".YRY.SKBKS.YRY.", ".YRY.SKKKS.YRY.", ".Y.Y.SSSSS.Y.Y.", ".Y.YYYY.YYYY.Y.", ".Y.PPPP.PPPP.Y.",
     ".Y.GGGG.GGGG.Y.", ".YYYYYY.YYYYYY."},
    // 8: spiral: a golden corridor to wind through
    {"...............", ".YYYYYY.YYYYYY.", ".YRRRRRRRRRRRY.", ".YRYYYY.YYYYRY.", ".YRYBBBBBBBYRY.",
     ".YRYBYYYYYBYRY.", ".YRYBYGGGYBYRY.", ".YRYBYGYGYBYRY.", ".YRYBYG.GYBYRY.", ".YRYBYYY.YBYRY.",
     ".YRYBBBBBBBBRY.", ".YRYYYYYYYYYYY.", ".YRRRRRRRRRRRR.", ".YYYYYYYYYYYYY."},
    // 9: diagonal stripes
    {"...............", "RGBPRGBPRGBPRGB", "GBPRGBPRGBPRGBP", "BPRGBPRGBPRGBPR", "PRGBPRGBPRGBPRG",
     "SSSSSSSSSSSSSSS", "...............", "RGBPRGBPRGBPRGB", "GBPRGBPRGBPRGBP", "BPRGBPRGBPRGBPR",
     "PRGBPRGBPRGBPRG"},
    // 10: smiling face
    {"...............", ".....PPPPP.....", "...PPPPPPPPP...", "..PPPPPPPPPPP..", ".PPPBBPPPBBPPP.",
     ".PPPBBPPPBBPPP.", ".PPPPPPPPPPPPP.", ".PPPPPPPPPPPPP.", ".PPRPPPPPPPRPP.", "..PPRRRRRRRPP..",
     "...PPPRRRPPP...", ".....PPPPP.....", "...............", "YY...........YY"},
    // 11: mushroom
    {"...............", ".....RRRRR.....", "...RRPPRRRRR...", "..RRPPPRRPPRR..", ".RRRPPRRRPPPRR.",
     ".RRRRRRRRRPPRR.", "RRPPRRRRRRRRRRR", "RPPPPRRRRPPRRRR", "KKKKKKKKKKKKKKK", "....PPPPPPP....",
     "....PPPPPPP....", "....PPPPPPP....", "....PPPPPPP....", "...SSSSSSSSS..."},
    // 12: fortress: silver ramparts between golden pillars
    {"...............", "Y.Y.Y.Y.Y.Y.Y.Y", "YSYSYSYSYSYSYSY", "YKYKYKYKYKYKYKY", "YBYGYRYPYRYGYBY",
     "YBYGYRYPYRYGYBY", "Y.Y.Y.Y.Y.Y.Y.Y", "...............", "SSSSSS...SSSSSS", "KKKKKK...KKKKKK",
     "...............", ".BBB.GGG.RRR.PP"},
    // 13: zigzag under golden slats
    {"...............", "R.............R", "RG...........GR", "RGB.........BGR", "RGBP.......PBGR",
     "YYYYY.....YYYYY", "...............", "....SSSSSSS....", "....SKKKKKS....", "....SSSSSSS....",
     "...............", "YYYY...Y...YYYY", "BBBB.GGGGG.BBBB", "RRRR.PPPPP.RRRR"},
    // 14: the crest: everything at once
    {"..Y.........Y..", ".YSY.......YSY.", ".....SSSSS.....", ".....SKKKS.....", "..RRRSKBKSRRR..",
     ".RGGGSKKKSGGGR.", "RGBBBSSSSSBBBGR", "RGBPPPPPPPPPBGR", "RGBPYYYYYYYPBGR", "RGBP.......PBGR",
     "RGBP.SKSKS.PBGR", "RGBP.......PBGR", "RGBPPPP.PPPPBGR", ".RGGGGG.GGGGGR.", "..RRRRR.RRRRR.."},
};

Stage FromLayout(const Layout& layout) {
    Stage stage;
    stage.fill(kEmptyCell);
    for (size_t r = 0; r < layout.size(); ++r)
        for (size_t c = 0; c < layout[r].size(); ++c) {
            auto it = kCodes.find(layout[r][c]);
            if (it != kCodes.end()) stage[r * kColumns + c] = it->second;
        }
    return stage;
}

bool IsBlock(int code) {
    return code >= 0 && code <= 6;
}

// Open cells reachable from around the field; breakable blocks open up as they are reached.
std::array<bool, kColumns * kRows> Reach(const Stage& stage) {
    std::array<bool, kColumns * kRows> reached{};
    bool grew = true;
    while (grew) {
        grew = false;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                int k = r * kColumns + c;
                if (reached[k] || stage[k] == kGoldCell) continue;
                bool edge = r == 0 || c == 0 || r == kRows - 1 || c == kColumns - 1;
                bool touches = (r > 0 && reached[k - kColumns]) || (r < kRows - 1 && reached[k + kColumns]) ||
                               (c > 0 && reached[k - 1]) || (c < kColumns - 1 && reached[k + 1]);
                if (edge || touches) reached[k] = grew = true;
            }
    }
    return reached;
}

}  // namespace

std::vector<Stage> MakeStages() {
    std::vector<Stage> stages;
    for (const Layout& layout : kLayouts) stages.push_back(FromLayout(layout));
    return stages;
}

bool IsClearable(const Stage& stage) {
    auto reached = Reach(stage);
    int breakable = 0;
    for (size_t k = 0; k < stage.size(); ++k) {
        if (!IsBlock(stage[k]) || stage[k] == kGoldCell) continue;
        ++breakable;
        if (!reached[k]) return false;
    }
    return breakable > 0;
}

bool WriteStageFile(const std::string& path, const std::vector<Stage>& stages) {
    Bytes out;
    out.I32(0);
    out.I32(0);
    out.I32(int32_t(stages.size()));
    for (const Stage& stage : stages)
        for (int code : stage) out.I32(code);
    return WriteFile(path, out);
}

}  // namespace assetgen
