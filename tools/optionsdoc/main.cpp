// optionsdoc: writes the option table (src/app/Options.cpp) into the manual page's OPTIONS section
// and the README's options block, or checks that both still match it.
//   optionsdoc write <plinkwell.6> <README.md>
//   optionsdoc check <plinkwell.6> <README.md>    exit status 1 when either differs
// Each document keeps the made part between two marker lines, which stay as they are.
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/Options.h"

namespace {

constexpr int kExitDrift = 1;
constexpr int kExitUsage = 2;

struct Document {
    std::string path;
    std::string begin;  // the marker lines, without their newlines
    std::string end;
    std::string made;  // what belongs between them
};

// Roff text: a backslash is written \e, and a line must not start with a control character.
std::string RoffText(const std::string& text) {
    std::string out = (text.front() == '.' || text.front() == '\'') ? "\\&" : "";
    for (char c : text) out += c == '\\' ? std::string("\\e") : std::string(1, c);
    return out;
}

std::string RoffOption(const std::string& name) {
    std::string out;
    for (char c : name) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

std::string Sentence(const std::string& help) {
    std::string text = help;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + ".";
}

std::string ManSection() {
    std::string text;
    for (const OptionGroup group : {OptionGroup::Play, OptionGroup::Automation, OptionGroup::General}) {
        const std::string_view heading = GroupHeading(group);
        text += ".SS " + (heading.empty() ? std::string("Other") : std::string(heading)) + "\n";
        for (const OptionRow& row : OptionTable()) {
            if (row.group != group) continue;
            text += ".TP\n";
            text += row.argument.empty() ? ".B " + RoffOption(row.name)
                                         : ".BI " + RoffOption(row.name) + " \" " + row.argument + "\"";
            text += "\n" + RoffText(Sentence(row.help)) + "\n";
        }
    }
    return text;
}

std::string ReadmeBlock() {
    std::string text = "\n";
    const std::string listing = OptionListing();
    size_t pos = 0;
    while (pos < listing.size()) {
        const size_t end = listing.find('\n', pos);
        const std::string line = listing.substr(pos, end - pos);
        text += (line.empty() ? "" : "    " + line) + "\n";
        pos = end + 1;
    }
    return text + "\n";
}

bool ReadAll(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text->assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// The document with its made part replaced; empty when the markers are missing.
std::string Remade(const std::string& text, const Document& doc) {
    const size_t begin = text.find(doc.begin + "\n");
    if (begin == std::string::npos) return {};
    const size_t from = begin + doc.begin.size() + 1;
    const size_t to = text.find(doc.end + "\n", from);
    if (to == std::string::npos) return {};
    return text.substr(0, from) + doc.made + text.substr(to);
}

// 0 when the document matches (or was written), else the exit status.
int Process(const Document& doc, bool write) {
    std::string text;
    if (!ReadAll(doc.path, &text)) {
        std::cerr << "optionsdoc: cannot read " << doc.path << '\n';
        return kExitUsage;
    }
    const std::string remade = Remade(text, doc);
    if (remade.empty()) {
        std::cerr << "optionsdoc: " << doc.path << " lacks the lines '" << doc.begin << "' and '" << doc.end
                  << "'\n";
        return kExitUsage;
    }
    if (remade == text) return 0;
    if (!write) {
        std::cerr << "optionsdoc: " << doc.path
                  << " does not match the option table in src/app/Options.cpp;"
                     " `cmake --build build --target docs` rewrites it. It should read:\n"
                  << doc.made;
        return kExitDrift;
    }
    std::ofstream out(doc.path, std::ios::binary | std::ios::trunc);
    out << remade;
    out.close();
    if (!out) {
        std::cerr << "optionsdoc: cannot write " << doc.path << '\n';
        return kExitUsage;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() != 3 || (args[0] != "write" && args[0] != "check")) {
        std::cerr << "usage: optionsdoc write|check <plinkwell.6> <README.md>\n";
        return kExitUsage;
    }
    const std::vector<Document> docs = {
        {args[1], ".\\\" options: begin (made by optionsdoc from the table in src/app/Options.cpp)",
         ".\\\" options: end", ManSection()},
        {args[2], "<!-- options: begin (made by optionsdoc from the table in src/app/Options.cpp) -->",
         "<!-- options: end -->", ReadmeBlock()},
    };
    int status = 0;
    for (const Document& doc : docs) {
        if (const int s = Process(doc, args[0] == "write"); s > status) status = s;
    }
    return status;
}
