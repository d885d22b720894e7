// stagetool: makes the game's stage file from readable text, and turns a stage file back into text.
//   stagetool build <stages.txt> <Map.dat>
//   stagetool dump <Map.dat>          (the text goes to standard output)
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "StageText.h"

namespace {

constexpr int kExitProblem = 1;
constexpr int kExitUsage = 2;

bool ReadAll(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

int Fail(const std::string& text) {
    std::cerr << "stagetool: " << text << '\n';
    return kExitProblem;
}

int Build(const std::string& textPath, const std::string& mapPath) {
    std::string text;
    if (!ReadAll(textPath, &text)) return Fail("cannot read " + textPath);
    const plat::Result<std::vector<stagetool::Stage>> stages = stagetool::ParseStages(text, textPath);
    if (!stages) return Fail(stages.Error());
    for (int n : stagetool::StagesWithNothingToBreak(*stages))
        std::cerr << "stagetool: warning: stage " << n
                  << " has nothing to break; the game skips it at once\n";
    const std::vector<uint8_t> bytes = stagetool::EncodeMapDat(*stages);
    std::ofstream out(mapPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return Fail("cannot write " + mapPath);
    return 0;
}

int Dump(const std::string& mapPath) {
    std::string bytes;
    if (!ReadAll(mapPath, &bytes)) return Fail("cannot read " + mapPath);
    std::vector<std::string> notes;
    const std::vector<stagetool::Stage> stages =
        stagetool::DecodeMapDat(std::vector<uint8_t>(bytes.begin(), bytes.end()), &notes);
    for (const std::string& note : notes) std::cerr << "stagetool: " << mapPath << ": " << note << '\n';
    std::cout << stagetool::FormatStages(stages);
    std::cout.flush();
    return std::cout ? 0 : Fail("cannot write the text");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "build") return Build(args[1], args[2]);
    if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
    std::cerr << "usage: stagetool build <stages.txt> <Map.dat>\n"
                 "       stagetool dump <Map.dat> > stages.txt\n"
                 "cells: . empty  # plain  R red  G green  B blue  $ gold  S silver  X cracked silver\n";
    return kExitUsage;
}
