#include "Palette.h"

#include <algorithm>
#include <array>
#include <map>

namespace assetgen {
namespace {

constexpr size_t kVisibleEntries = 255;

struct Entry {
    Rgb colour;
    int count;
};

using Box = std::vector<Entry>;

int Channel(Rgb c, int ch) {
    return ch == 0 ? c.r : ch == 1 ? c.g : c.b;
}

uint32_t Key(Rgb c) {
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

Box VisibleHistogram(const Image& image) {
    std::map<uint32_t, Entry> counts;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgb c = image.At(x, y);
            if (PacksToZero(c)) continue;
            auto [it, fresh] = counts.try_emplace(Key(c), Entry{c, 0});
            ++it->second.count;
        }
    Box all;
    for (const auto& [key, entry] : counts) all.push_back(entry);
    return all;
}

// The channel with the widest spread in the box, and that spread.
std::pair<int, int> WidestChannel(const Box& box) {
    std::pair<int, int> best{0, -1};
    for (int ch = 0; ch < 3; ++ch) {
        auto [lo, hi] = std::minmax_element(box.begin(), box.end(), [ch](const Entry& a, const Entry& b) {
            return Channel(a.colour, ch) < Channel(b.colour, ch);
        });
        int spread = Channel(hi->colour, ch) - Channel(lo->colour, ch);
        if (spread > best.second) best = {ch, spread};
    }
    return best;
}

void SplitAtMedian(std::vector<Box>& boxes, size_t which) {
    Box& box = boxes[which];
    int ch = WidestChannel(box).first;
    std::stable_sort(box.begin(), box.end(), [ch](const Entry& a, const Entry& b) {
        return Channel(a.colour, ch) < Channel(b.colour, ch);
    });
    long total = 0;
    for (const Entry& e : box) total += e.count;
    long running = 0;
    size_t cut = 1;
    for (; cut < box.size() - 1; ++cut) {
        running += box[cut - 1].count;
        if (running * 2 >= total) break;
    }
    Box upper(box.begin() + static_cast<long>(cut), box.end());
    box.resize(cut);
    boxes.push_back(std::move(upper));
}

Rgb Mean(const Box& box) {
    std::array<long, 3> sum{};
    long total = 0;
    for (const Entry& e : box) {
        for (int ch = 0; ch < 3; ++ch) sum[ch] += long(Channel(e.colour, ch)) * e.count;
        total += e.count;
    }
    Rgb c{uint8_t(sum[0] / total), uint8_t(sum[1] / total), uint8_t(sum[2] / total)};
    return PacksToZero(c) ? Rgb{0, 0, 8} : c;
}

std::vector<Rgb> MedianCut(Box all) {
    std::vector<Box> boxes{std::move(all)};
    while (boxes.size() < kVisibleEntries) {
        size_t widest = boxes.size();
        int widestSpread = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int spread = boxes[i].size() > 1 ? WidestChannel(boxes[i]).second : 0;
            if (spread > widestSpread) widest = i, widestSpread = spread;
        }
        if (widest == boxes.size()) break;
        SplitAtMedian(boxes, widest);
    }
    std::vector<Rgb> colours;
    for (const Box& box : boxes) colours.push_back(Mean(box));
    return colours;
}

std::vector<Rgb> VisiblePalette(const Image& image) {
    Box all = VisibleHistogram(image);
    if (all.size() > kVisibleEntries) return MedianCut(std::move(all));
    std::vector<Rgb> colours;
    for (const Entry& e : all) colours.push_back(e.colour);
    return colours;
}

int Distance(Rgb a, Rgb b) {
    int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

uint8_t Nearest(const std::vector<Rgb>& palette, Rgb c) {
    size_t best = 1;
    for (size_t i = 2; i < palette.size(); ++i)
        if (Distance(palette[i], c) < Distance(palette[best], c)) best = i;
    return static_cast<uint8_t>(best);
}

}  // namespace

IndexedImage ToIndexed(const Image& image) {
    IndexedImage out;
    out.palette.push_back(kClear);
    for (Rgb c : VisiblePalette(image)) out.palette.push_back(c);
    std::map<uint32_t, uint8_t> lookup;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgb c = image.At(x, y);
            if (PacksToZero(c)) {
                out.pixels.push_back(0);
                continue;
            }
            auto [it, fresh] = lookup.try_emplace(Key(c), 0);
            if (fresh) it->second = Nearest(out.palette, c);
            out.pixels.push_back(it->second);
        }
    return out;
}

}  // namespace assetgen
