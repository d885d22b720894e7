#include "StageText.h"

#include <algorithm>
#include <cctype>

namespace stagetool {
namespace {

constexpr std::string_view kCellChars = "#RGB$SX";  // index = cell code
constexpr size_t kHeaderBytes = 12;
constexpr size_t kRecordBytes = kColumns * kRows * 4;

bool IsHeader(std::string_view line) {
    constexpr std::string_view kWord = "stage";
    if (line.size() < kWord.size()) return false;
    for (size_t i = 0; i < kWord.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != kWord[i]) return false;
    return true;
}

std::string_view TrimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

int32_t CodeOf(char c) {
    const size_t at = kCellChars.find(c);
    return at == std::string_view::npos ? kEmptyCode : static_cast<int32_t>(at);
}

// Collects the rows of the stage being read.
class StageReader {
public:
    explicit StageReader(std::vector<Stage>* stages) : m_stages(stages) {}

    plat::Status Row(std::string_view line) {
        if (line.size() != kColumns) {
            return plat::Fail(std::to_string(line.size()) + " characters; a row has " +
                              std::to_string(kColumns));
        }
        for (char c : line)
            if (c != '.' && kCellChars.find(c) == std::string_view::npos) {
                return plat::Fail(std::string("'") + c + "' is not a cell (use . # R G B $ S X)");
            }
        if (m_rows == kRows) return plat::Fail("a stage has at most " + std::to_string(kRows) + " rows");
        if (m_rows == 0) {
            m_stages->emplace_back();
            m_stages->back().fill(kEmptyCode);
        }
        for (int c = 0; c < kColumns; ++c) m_stages->back()[m_rows * kColumns + c] = CodeOf(line[c]);
        ++m_rows;
        return plat::Success();
    }

    void End() { m_rows = 0; }

private:
    std::vector<Stage>* m_stages;
    int m_rows = 0;
};

void PutLittleEndian(std::vector<uint8_t>& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

// The 32-bit value at offset, with the bytes past the end taken as zero, as the game reads it.
int32_t ReadLittleEndian(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t u = 0;
    for (size_t i = 0; i < 4; ++i)
        if (offset + i < bytes.size()) u |= uint32_t(bytes[offset + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

}  // namespace

char CellChar(int32_t code) {
    return code >= 0 && code < int32_t(kCellChars.size()) ? kCellChars[size_t(code)] : '.';
}

plat::Result<std::vector<Stage>> ParseStages(std::string_view text, std::string_view source) {
    std::vector<Stage> stages;
    StageReader reader(&stages);
    int number = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = TrimEnd(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || IsHeader(line)) {
            reader.End();
        } else if (const plat::Status row = reader.Row(line); !row) {
            return plat::Fail(std::string(source) + ":" + std::to_string(number) + ": " + row.Error());
        }
    }
    if (stages.empty()) return plat::Fail(std::string(source) + ": no stage found");
    return stages;
}

std::string FormatStages(const std::vector<Stage>& stages) {
    std::string text;
    for (size_t n = 0; n < stages.size(); ++n) {
        if (n > 0) text += '\n';
        text += "stage " + std::to_string(n + 1) + '\n';
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) text += CellChar(stages[n][r * kColumns + c]);
            text += '\n';
        }
    }
    return text;
}

std::vector<uint8_t> EncodeMapDat(const std::vector<Stage>& stages) {
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + stages.size() * kRecordBytes);
    PutLittleEndian(out, 0);
    PutLittleEndian(out, 0);
    PutLittleEndian(out, static_cast<int32_t>(stages.size()));
    for (const Stage& stage : stages)
        for (int32_t code : stage) PutLittleEndian(out, code);
    return out;
}

std::vector<Stage> DecodeMapDat(const std::vector<uint8_t>& bytes, std::vector<std::string>* notes) {
    const int32_t count = ReadLittleEndian(bytes, 8);
    const size_t held =
        bytes.size() > kHeaderBytes ? (bytes.size() - kHeaderBytes + kRecordBytes - 1) / kRecordBytes : 0;
    size_t wanted = count < 1 ? 1 : size_t(count);
    if (count < 1)
        notes->push_back("the stage count is " + std::to_string(count) + ": the game plays stage 1 only");
    if (bytes.size() < kHeaderBytes) notes->push_back("the file is shorter than its 12-byte header");
    if (wanted > std::max<size_t>(held, 1)) {
        notes->push_back("the header counts " + std::to_string(count) + " stages but the file holds " +
                         std::to_string(held) + "; the game would play plain blocks in the others");
        wanted = std::max<size_t>(held, 1);
    }
    if (held > 0 && (bytes.size() - kHeaderBytes) % kRecordBytes != 0)
        notes->push_back("the last record is cut short: its missing cells are plain blocks in the game");
    std::vector<Stage> stages(wanted);
    for (size_t n = 0; n < wanted; ++n)
        for (size_t k = 0; k < stages[n].size(); ++k)
            stages[n][k] = ReadLittleEndian(bytes, kHeaderBytes + n * kRecordBytes + k * 4);
    return stages;
}

std::vector<int> StagesWithNothingToBreak(const std::vector<Stage>& stages) {
    std::vector<int> numbers;
    for (size_t n = 0; n < stages.size(); ++n) {
        const bool breakable = std::any_of(stages[n].begin(), stages[n].end(), [](int32_t code) {
            return code >= 0 && code < int32_t(kCellChars.size()) && code != kGoldCode;
        });
        if (!breakable) numbers.push_back(int(n) + 1);
    }
    return numbers;
}

}  // namespace stagetool
