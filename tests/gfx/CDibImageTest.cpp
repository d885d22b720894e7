#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/BmpWriter.h"
#include "gfx/CDibImage.h"
#include "support/FakeBackend.h"

using bmptest::Bmp;
using bmptest::PackRows;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;
constexpr uint16_t kRed565 = 0xF800, kGreen565 = 0x07E0, kBlue565 = 0x001F, kWhite565 = 0xFFFF;
constexpr uint16_t kMark = 0x1234;  // what a canvas holds where nothing was painted

// A slot-sized surface to paint into, pre-filled with kMark.
struct Canvas {
    Surface surface;
    SlotDC dc;
    Canvas(int w, int h) : surface(w, h) {
        std::fill(surface.pixels.get(), surface.pixels.get() + w * h, kMark);
        dc.surface = &surface;
    }
    // A canvas with the image drawn at its top left corner.
    Canvas(CDibImage& image, int w, int h) : Canvas(w, h) { image.Draw(0, 0, &dc); }
    uint16_t operator()(int x, int y) const { return surface.Row(y)[x]; }
    int Count(uint16_t v) const {
        return static_cast<int>(
            std::count(surface.pixels.get(), surface.pixels.get() + surface.width * surface.height, v));
    }
};

class DibTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const {
        return ::testing::TempDir() + "dib_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
    }
    std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
        return bmptest::WriteFile(Path(name), bytes);
    }

    FakeBackend backend;
};

// A 24-bit picture from 0x00RRGGBB values given top row first.
Bmp Picture24(int w, int h, const std::vector<uint32_t>& topFirst) {
    Bmp b;
    b.width = w;
    b.height = h;
    b.pixels = PackRows(w, h, 24, [&](int x, int row) { return topFirst[(h - 1 - row) * w + x]; });
    return b;
}

// ---- failures and their texts ---------------------------------------------------------------

TEST_F(DibTest, MissingFileNamesTheHandle) {
    const std::string path = Path("missing.bmp");
    CDibImage image(path.c_str());
    EXPECT_FALSE(image.IsLoaded());
    EXPECT_EQ(std::string(image.GetMessageText()), "-1, " + path + " not found.");
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0], image.GetMessageText());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetHeight(), 0);
}

// A directory opens for reading on Linux, yet is no file: the message says so.
TEST_F(DibTest, DirectoryIsNotARegularFile) {
    const std::string path = Path("folder.bmp");
    std::filesystem::create_directories(path);
    CDibImage image(path.c_str());
    EXPECT_FALSE(image.IsLoaded());
    EXPECT_EQ(std::string(image.GetMessageText()), "-1, '" + path + "': not a regular file.");
    EXPECT_EQ(backend.messages.size(), 1u);
}

TEST_F(DibTest, ShortHeaderCountsTheBytesRead) {
    const std::string path = Write("short.bmp", std::vector<uint8_t>(10, 'B'));
    CDibImage image(path.c_str());
    EXPECT_EQ(std::string(image.GetMessageText()), "10:14, " + path + " header size mismatch");
    EXPECT_EQ(backend.messages.size(), 1u);
}

TEST_F(DibTest, WrongTypeIsNotBmp) {
    std::vector<uint8_t> bytes = Picture24(1, 1, {kRed}).Bytes();
    bytes[0] = 'X';
    const std::string path = Write("type.bmp", bytes);
    CDibImage image(path.c_str());
    EXPECT_EQ(std::string(image.GetMessageText()), path + " not BMP file");
}

TEST_F(DibTest, DeclaredSizeBeyondTheFileCannotBeRead) {
    const Bmp b = Picture24(2, 2, {kRed, kRed, kRed, kRed});
    const uint32_t real = static_cast<uint32_t>(b.Bytes().size());
    for (uint32_t declared : {real + 1, 0xFFFFFFF0u, 13u}) {
        const std::string path = Write("long.bmp", b.Bytes(declared));
        CDibImage image(path.c_str());
        EXPECT_FALSE(image.IsLoaded()) << declared;
        EXPECT_EQ(std::string(image.GetMessageText()), " " + path + " can not read file") << declared;
    }
}

TEST_F(DibTest, BytesBeyondTheDeclaredSizeAreIgnored) {
    std::vector<uint8_t> bytes = Picture24(1, 1, {kRed}).Bytes();
    bytes.insert(bytes.end(), 100, 0xEE);
    const std::string path = Write("extra.bmp", bytes);
    CDibImage image(path.c_str());
    EXPECT_TRUE(image.IsLoaded());
    EXPECT_STREQ(image.GetMessageText(), "");
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(DibTest, LongTextsAreCutTo101Characters) {
    const std::string name(200, 'n');
    CDibImage image(name.c_str(), nullptr, 0);
    const std::string full = "0:14, " + name + " header size mismatch";
    EXPECT_EQ(std::string(image.GetMessageText()), full.substr(0, 101));
}

TEST_F(DibTest, MemoryBytesGiveTheSameTexts) {
    const std::vector<uint8_t> bytes = Picture24(1, 1, {kRed}).Bytes();
    CDibImage shortOne("mem", bytes.data(), 10);
    EXPECT_STREQ(shortOne.GetMessageText(), "10:14, mem header size mismatch");
    CDibImage cut("mem", bytes.data(), bytes.size() - 1);
    EXPECT_STREQ(cut.GetMessageText(), " mem can not read file");
    CDibImage good("mem", bytes.data(), bytes.size());
    EXPECT_TRUE(good.IsLoaded());
    EXPECT_EQ(backend.messages.size(), 2u);
}

// Headers, tables and pixels that do not fit the bytes read, and sizes we refuse.
TEST_F(DibTest, BrokenBlocksFailNamingTheFile) {
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    {
        Bmp b = Picture24(2, 2, {kRed, kRed, kRed, kRed});
        b.headerSize = 4000;  // read as a core header far larger than the file
        cases.push_back({"header beyond the file", b.Bytes()});
    }
    {
        Bmp b;
        b.bitCount = 8;
        b.colorsUsed = 1000;  // a table of 1000 entries in a file of a few dozen bytes
        b.pixels = {1, 0, 0, 0};
        cases.push_back({"table beyond the file", b.Bytes()});
    }
    {
        Bmp b = Picture24(4, 4, std::vector<uint32_t>(16, kRed));
        b.pixels.resize(b.pixels.size() - 1);
        cases.push_back({"truncated pixels", b.Bytes()});
    }
    {
        Bmp b = Picture24(1, 1, {kRed});
        b.width = -1;
        cases.push_back({"negative width", b.Bytes()});
    }
    {
        Bmp b = Picture24(1, 1, {kRed});
        b.width = 0x10000;
        b.height = 0x10000;  // 4G pixels
        cases.push_back({"huge picture", b.Bytes()});
    }
    {
        Bmp b = Picture24(1, 1, {kRed});
        b.height = INT32_MIN;
        cases.push_back({"most negative height", b.Bytes()});
    }
    {
        Bmp b = Picture24(1, 1, {kRed});
        b.bitCount = 2;
        cases.push_back({"two-bit pixels", b.Bytes()});
    }
    {
        Bmp b = Picture24(1, 1, {kRed});
        b.compression = 3;  // bitfields on 24-bit pixels
        b.masks = {0xFF0000, 0xFF00, 0xFF};
        cases.push_back({"bitfields on 24 bits", b.Bytes()});
    }
    {
        Bmp b = Picture24(1, 1, {kRed});
        b.compression = 3;
        b.bitCount = 16;
        b.pixels = {};  // the masks after the header are missing too
        cases.push_back({"missing masks", b.Bytes()});
    }
    cases.push_back({"empty block", Bmp{}.Bytes(14)});
    for (const auto& [what, bytes] : cases) {
        const std::string path = Write("broken.bmp", bytes);
        CDibImage image(path.c_str());
        EXPECT_FALSE(image.IsLoaded()) << what;
        EXPECT_EQ(std::string(image.GetMessageText()), path + " broken BMP file") << what;
        EXPECT_EQ(image.GetWidth(), 0) << what;
    }
    EXPECT_EQ(backend.messages.size(), cases.size());
}

TEST_F(DibTest, ZeroWidthWithHugeHeightIsBroken) {
    Bmp b = Picture24(1, 1, {kRed});
    b.width = 0;
    b.height = 0x46000001;
    CDibImage image("tall", b.Bytes().data(), b.Bytes().size());
    EXPECT_STREQ(image.GetMessageText(), "tall broken BMP file");
}

TEST_F(DibTest, EmptyPictureLoadsAndDrawsNothing) {
    Bmp b;
    b.width = 0;
    b.height = 5;
    CDibImage image("empty", b.Bytes().data(), b.Bytes().size());
    EXPECT_TRUE(image.IsLoaded());
    Canvas canvas(image, 2, 2);
    image.DrawStretched(0, 0, 2, 2, &canvas.dc);
    EXPECT_EQ(canvas.Count(kMark), 4);
}

// Inputs that once broke the reader (found by fuzz/fuzz_bmp) load or fail cleanly and paint safely.
TEST_F(DibTest, RegressionInputsLoadSafely) {
    const std::filesystem::path dir = std::filesystem::path(__FILE__).parent_path() / "regress";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        CDibImage image("regress", bytes.data(), bytes.size());
        Canvas canvas(24, 16);
        image.Draw(-3, 2, &canvas.dc);
        image.DrawStretched(0, 0, 24, 16, &canvas.dc);
        image.DrawPart(4, -2, 16, 15, &canvas.dc, 5, 3);
        image.DrawPartStretched(-5, 1, 40, 9, &canvas.dc, 1, 2, 11, 5);
        ++files;
    }
    EXPECT_GT(files, 0);
}

TEST_F(DibTest, FailedImageDrawsNothing) {
    CDibImage image(Path("none.bmp").c_str());
    Canvas canvas(image, 4, 4);
    image.DrawStretched(0, 0, 4, 4, &canvas.dc);
    image.DrawPart(0, 0, 4, 4, &canvas.dc, 0, 0);
    image.DrawPartStretched(0, 0, 4, 4, &canvas.dc, 0, 0, 2, 2);
    EXPECT_EQ(canvas.Count(kMark), 16);
}

// ---- pixel formats --------------------------------------------------------------------------

TEST_F(DibTest, EightBitWithoutColoursUsedHas256Entries) {
    Bmp b;
    b.bitCount = 8;
    b.width = 3;
    b.height = 1;
    for (uint32_t i = 0; i < 256; ++i) b.table.push_back(i == 255 ? kBlue : i == 7 ? kRed : 0x000100 * i);
    b.pixels = {255, 7, 0, 0};
    CDibImage image("p8", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.GetColorCount(), 256);
    Canvas canvas(image, 3, 1);
    EXPECT_EQ(canvas(0, 0), kBlue565);
    EXPECT_EQ(canvas(1, 0), kRed565);
    EXPECT_EQ(canvas(2, 0), 0);  // index 0 is black: transparent
}

TEST_F(DibTest, EightBitWithTwentyColoursFindsPixelsAfterTheTable) {
    Bmp b;
    b.bitCount = 8;
    b.width = 3;
    b.height = 1;
    b.colorsUsed = 20;
    b.table.assign(20, kGreen);
    b.table[19] = kWhite;
    b.pixels = {19, 3, 200, 0};  // 200 lies beyond the table: black
    const std::vector<uint8_t> bytes = b.Bytes();
    ASSERT_EQ(bytes.size(), 14u + 40 + 20 * 4 + 4);
    CDibImage image("p20", bytes.data(), bytes.size());
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.GetColorCount(), 20);
    Canvas canvas(image, 3, 1);
    EXPECT_EQ(canvas(0, 0), kWhite565);
    EXPECT_EQ(canvas(1, 0), kGreen565);
    EXPECT_EQ(canvas(2, 0), 0);
}

// Some tools declare 20 colours but keep the whole 256-entry table and point the file header past
// it: the pixels are found there when the rows fit from there, else where the table of 20 ends.
TEST_F(DibTest, FullTableAfterAShortCountIsSkippedWhenThePixelsFitPastIt) {
    struct Case {
        const char* name;
        uint32_t trim;   // bytes taken off the declared size
        uint16_t first;  // the first pixel's colour
    };
    Bmp b;
    b.bitCount = 8;
    b.width = 3;
    b.height = 1;
    b.colorsUsed = 20;
    b.table.assign(256, kGreen);
    b.table[7] = kWhite;
    b.pixels = {7, 7, 7, 0};
    const std::vector<uint8_t> file = b.Bytes();
    ASSERT_EQ(file[10] | file[11] << 8, 1078);
    for (const Case& c : {Case{"rows fit past the full table", 0, kWhite565},
                          Case{"rows cut short: the table's tail is read", 2, kGreen565}}) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes = b.Bytes(static_cast<uint32_t>(file.size()) - c.trim);
        CDibImage image("p", bytes.data(), bytes.size());
        ASSERT_TRUE(image.IsLoaded());
        EXPECT_EQ(image.GetColorCount(), 20);
        EXPECT_EQ(Canvas(image, 3, 1)(0, 0), c.first);
    }
}

TEST_F(DibTest, TwentyFourBitPixelsStartAfterTheHeader) {
    const Bmp b = Picture24(2, 2, {kRed, kGreen, 0x102030, kWhite});
    const std::string path = Write("p24.bmp", b.Bytes());
    CDibImage image(path.c_str());
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.GetColorCount(), 0);
    EXPECT_EQ(image.GetWidth(), 2);
    EXPECT_EQ(image.GetHeight(), 2);
    Canvas canvas(image, 2, 2);
    EXPECT_EQ(canvas(0, 0), kRed565);
    EXPECT_EQ(canvas(1, 0), kGreen565);
    EXPECT_EQ(canvas(0, 1), (2 << 11) | (8 << 5) | 6);
    EXPECT_EQ(canvas(1, 1), kWhite565);
}

TEST_F(DibTest, OneAndFourBitPixels) {
    Bmp one;
    one.bitCount = 1;
    one.width = 10;
    one.height = 1;
    one.table = {kRed, kBlue};
    one.pixels = PackRows(10, 1, 1, [](int x, int) { return x == 0 || x == 9 ? 1u : 0u; });
    CDibImage image1("p1", one.Bytes().data(), one.Bytes().size());
    EXPECT_EQ(image1.GetColorCount(), 2);
    Canvas c1(image1, 10, 1);
    EXPECT_EQ(c1(0, 0), kBlue565);
    EXPECT_EQ(c1(1, 0), kRed565);
    EXPECT_EQ(c1(9, 0), kBlue565);

    Bmp four;
    four.bitCount = 4;
    four.width = 3;
    four.height = 1;
    for (uint32_t i = 0; i < 16; ++i) four.table.push_back(i * 0x101010);
    four.pixels = PackRows(3, 1, 4, [](int x, int) { return 15u - static_cast<uint32_t>(x); });
    CDibImage image4("p4", four.Bytes().data(), four.Bytes().size());
    EXPECT_EQ(image4.GetColorCount(), 16);
    Canvas c4(image4, 3, 1);
    EXPECT_EQ(c4(0, 0), PackRgb565(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(c4(1, 0), PackRgb565(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(c4(2, 0), PackRgb565(0xD0, 0xD0, 0xD0));
}

TEST_F(DibTest, SixteenBitDefaultsToFiveFiveFive) {
    Bmp b;
    b.bitCount = 16;
    b.width = 3;
    b.height = 1;
    b.pixels = PackRows(3, 1, 16, [](int x, int) {
        return std::vector<uint32_t>{0x7C00, 0x03E0, 0x0421}[x];
    });
    CDibImage image("p16", b.Bytes().data(), b.Bytes().size());
    Canvas canvas(image, 3, 1);
    EXPECT_EQ(canvas(0, 0), kRed565);
    EXPECT_EQ(canvas(1, 0), kGreen565);
    // Each channel 1 of 31 widens to 8 (1 x 255 / 31), which packs to red 1, green 2, blue 1.
    EXPECT_EQ(canvas(2, 0), (1 << 11) | (2 << 5) | 1);
}

TEST_F(DibTest, BitfieldsAfterTheInfoHeader) {
    Bmp b;
    b.bitCount = 16;
    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    b.width = 3;
    b.height = 1;
    const std::vector<uint32_t> words = {0x1234, 0xFFFF, 0x0820};
    b.pixels = PackRows(3, 1, 16, [&](int x, int) { return words[x]; });
    CDibImage image("bf", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    Canvas canvas(image, 3, 1);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas(x, 0), words[x]) << x;  // 5-6-5 survives exactly

    Bmp b32;
    b32.bitCount = 32;
    b32.compression = 3;
    b32.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
    b32.width = 1;
    b32.height = 1;
    b32.pixels = PackRows(1, 1, 32, [](int, int) { return 0x10FF80FFu; });
    CDibImage image32("bf32", b32.Bytes().data(), b32.Bytes().size());
    Canvas c32(image32, 1, 1);
    EXPECT_EQ(c32(0, 0), PackRgb565(0x10, 0xFF, 0x80));
}

TEST_F(DibTest, ThirtyTwoBitIgnoresTheFourthByte) {
    Bmp b;
    b.bitCount = 32;
    b.width = 1;
    b.height = 1;
    b.pixels = PackRows(1, 1, 32, [](int, int) { return 0xAA204060u; });
    CDibImage image("p32", b.Bytes().data(), b.Bytes().size());
    Canvas canvas(image, 1, 1);
    EXPECT_EQ(canvas(0, 0), PackRgb565(0x20, 0x40, 0x60));
}

TEST_F(DibTest, VersionFourAndFiveHeaders) {
    for (uint32_t size : {108u, 124u}) {
        Bmp b;
        b.headerSize = size;
        b.bitCount = 16;
        b.compression = 3;
        b.masks = {0xF800, 0x07E0, 0x001F, 0};
        b.width = 2;
        b.height = 1;
        b.pixels = PackRows(2, 1, 16, [](int x, int) { return x ? 0x07E0u : 0xF81Fu; });
        CDibImage image("v", b.Bytes().data(), b.Bytes().size());
        ASSERT_TRUE(image.IsLoaded()) << size;
        Canvas canvas(image, 2, 1);
        EXPECT_EQ(canvas(0, 0), 0xF81F) << size;
        EXPECT_EQ(canvas(1, 0), kGreen565) << size;

        Bmp p = Picture24(1, 2, {kRed, kBlue});
        p.headerSize = size;
        CDibImage plain("v24", p.Bytes().data(), p.Bytes().size());
        Canvas c24(plain, 1, 2);
        EXPECT_EQ(c24(0, 0), kRed565) << size;
        EXPECT_EQ(c24(0, 1), kBlue565) << size;
    }
}

TEST_F(DibTest, CoreHeaderWithThreeByteEntries) {
    Bmp b;
    b.headerSize = 12;
    b.bitCount = 8;
    b.width = 2;
    b.height = 2;
    for (uint32_t i = 0; i < 256; ++i) b.table.push_back(i == 1 ? kRed : i == 2 ? kBlue : 0);
    b.pixels =
        PackRows(2, 2, 8, [](int x, int row) { return row == 1 ? 1u + static_cast<uint32_t>(x) : 0u; });
    ASSERT_EQ(b.Bytes().size(), 14u + 12 + 256 * 3 + 8);
    CDibImage image("core", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.GetColorCount(), 256);
    Canvas canvas(image, 2, 2);
    EXPECT_EQ(canvas(0, 0), kRed565);  // the second stored row is the top one
    EXPECT_EQ(canvas(1, 0), kBlue565);
    EXPECT_EQ(canvas(0, 1), 0);
}

TEST_F(DibTest, TopDownRows) {
    Bmp b;
    b.width = 1;
    b.height = -2;
    b.pixels = PackRows(1, 2, 24, [](int, int row) { return row == 0 ? kRed : kBlue; });
    CDibImage image("td", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.GetHeight(), 2);
    Canvas canvas(image, 1, 2);
    EXPECT_EQ(canvas(0, 0), kRed565);
    EXPECT_EQ(canvas(0, 1), kBlue565);
}

Bmp Rle(int bitCount, int w, int h, std::vector<uint8_t> data) {
    Bmp b;
    b.bitCount = static_cast<uint16_t>(bitCount);
    b.compression = bitCount == 8 ? 1 : 2;
    b.width = w;
    b.height = h;
    b.colorsUsed = 4;
    b.table = {0, kRed, kGreen, kBlue};
    b.pixels = std::move(data);
    return b;
}

TEST_F(DibTest, RunLengthEightBit) {
    // Bottom row: 2 x red, absolute [green, blue, red] (padded), end of line.
    // Top row: delta right 1, 1 x blue, a run of 9 that overruns the width, end of picture.
    const Bmp b = Rle(8, 5, 2, {2, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 0, 1, 3, 9, 2, 0, 1});
    CDibImage image("rle8", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    Canvas canvas(image, 5, 2);
    const uint16_t bottom[5] = {kRed565, kRed565, kGreen565, kBlue565, kRed565};
    const uint16_t top[5] = {0, kBlue565, kGreen565, kGreen565, kGreen565};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(canvas(x, 1), bottom[x]) << x;
        EXPECT_EQ(canvas(x, 0), top[x]) << x;
    }
}

TEST_F(DibTest, RunLengthFourBit) {
    // Bottom row: 3 pixels alternating red/green, absolute 3 pixels [blue, red, green] (2 bytes, even).
    // Top row: runs beyond the picture and data cut short are harmless.
    const Bmp b = Rle(4, 6, 2, {3, 0x12, 0, 3, 0x31, 0x20, 0, 0, 6, 0x33, 0, 40, 0x11});
    CDibImage image("rle4", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    Canvas canvas(image, 6, 2);
    const uint16_t bottom[6] = {kRed565, kGreen565, kRed565, kBlue565, kRed565, kGreen565};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(canvas(x, 1), bottom[x]) << x;
        EXPECT_EQ(canvas(x, 0), kBlue565) << x;
    }
}

TEST_F(DibTest, RunLengthNeverWritesOutsideThePicture) {
    // Deltas far beyond the picture, absolute runs longer than the data, rows past the top.
    const Bmp b = Rle(8, 2, 2, {0, 2, 255, 255, 0, 0, 0, 0, 0, 0, 255, 1, 0, 200, 1, 2});
    CDibImage image("rle8x", b.Bytes().data(), b.Bytes().size());
    ASSERT_TRUE(image.IsLoaded());
    Canvas canvas(image, 2, 2);
    EXPECT_EQ(canvas.Count(0), 4);
}

// ---- painting -------------------------------------------------------------------------------

// A 4 x 6 sheet of three 4 x 2 frames, top to bottom: red, green, blue.
Bmp Sheet() {
    std::vector<uint32_t> px;
    for (uint32_t colour : {kRed, kGreen, kBlue}) px.insert(px.end(), 8, colour);
    return Picture24(4, 6, px);
}

TEST_F(DibTest, DrawPartCountsFramesFromTheTop) {
    const Bmp b = Sheet();
    CDibImage image("sheet", b.Bytes().data(), b.Bytes().size());
    for (int frame = 0; frame < 3; ++frame) {
        Canvas canvas(4, 2);
        image.DrawPart(0, 0, 4, 2, &canvas.dc, 0, 2 * frame);
        const uint16_t expected = std::vector<uint16_t>{kRed565, kGreen565, kBlue565}[frame];
        EXPECT_EQ(canvas.Count(expected), 8) << frame;
    }
}

TEST_F(DibTest, DrawClipsToTheSurfaceAndThePicture) {
    const Bmp b = Picture24(3, 3, {kRed, kGreen, kBlue, kWhite, kRed, kGreen, kBlue, kWhite, kRed});
    CDibImage image("clip", b.Bytes().data(), b.Bytes().size());
    Canvas canvas(3, 3);
    image.Draw(-1, -2, &canvas.dc);
    EXPECT_EQ(canvas(0, 0), kWhite565);  // picture (1, 2)
    EXPECT_EQ(canvas(1, 0), kRed565);    // picture (2, 2)
    EXPECT_EQ(canvas(2, 0), kMark);
    EXPECT_EQ(canvas(0, 1), kMark);
    EXPECT_EQ(canvas.Count(kMark), 7);

    Canvas part(3, 3);
    image.DrawPart(0, 0, 3, 3, &part.dc, 2, -1);  // only picture column 2, rows 0 and 1, exist
    EXPECT_EQ(part(0, 1), kBlue565);
    EXPECT_EQ(part(0, 2), kGreen565);
    EXPECT_EQ(part.Count(kMark), 7);

    Canvas none(3, 3);
    image.DrawPart(0, 0, 3, 3, &none.dc, INT32_MAX, INT32_MIN);
    image.DrawPartStretched(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, &none.dc, 0, 0, 3, 3);
    image.DrawStretched(0, 0, -3, 3, &none.dc);
    EXPECT_EQ(none.Count(kMark), 9);
}

TEST_F(DibTest, StretchingAveragesByArea) {
    const Bmp b = Picture24(2, 1, {0x000000, kWhite});
    CDibImage image("avg", b.Bytes().data(), b.Bytes().size());
    Canvas one(1, 1);
    image.DrawStretched(0, 0, 1, 1, &one.dc);
    EXPECT_EQ(one(0, 0), PackRgb565(128, 128, 128));  // 127.5 rounds up

    // Three source pixels into two: each destination pixel is 2/3 of one and 1/3 of the next.
    const Bmp b3 = Picture24(3, 1, {0x000000, 0x0000F0, 0x00F000});
    CDibImage three("avg3", b3.Bytes().data(), b3.Bytes().size());
    Canvas two(2, 1);
    three.DrawStretched(0, 0, 2, 1, &two.dc);
    EXPECT_EQ(two(0, 0), PackRgb565(0, 0, 80));
    EXPECT_EQ(two(1, 0), PackRgb565(0, 160, 80));

    Canvas wide(4, 1);
    image.DrawStretched(0, 0, 4, 1, &wide.dc);  // enlarging repeats each source pixel
    EXPECT_EQ(wide(0, 0), 0);
    EXPECT_EQ(wide(1, 0), 0);
    EXPECT_EQ(wide(2, 0), kWhite565);
    EXPECT_EQ(wide(3, 0), kWhite565);
}

// Scaled drawing away from the top left: destination pixel i of the rectangle shows source pixels
// [s + i m / n, s + (i + 1) m / n), counted from the rectangle's own corner even where it is clipped.
TEST_F(DibTest, ScaledDrawingKeepsItsOffsets) {
    const Bmp square = Picture24(2, 2, {kRed, kGreen, kBlue, kWhite});
    CDibImage whole("square", square.Bytes().data(), square.Bytes().size());
    Canvas grown(6, 6);
    whole.DrawStretched(1, 1, 4, 4, &grown.dc);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 4;
            const uint16_t expected = !inside  ? kMark
                                      : y <= 2 ? (x <= 2 ? kRed565 : kGreen565)
                                               : (x <= 2 ? kBlue565 : kWhite565);
            EXPECT_EQ(grown(x, y), expected) << x << "," << y;
        }
    }

    const Bmp strip = Picture24(4, 2, {kRed, kGreen, kBlue, kWhite, kWhite, kBlue, kGreen, kRed});
    CDibImage part("strip", strip.Bytes().data(), strip.Bytes().size());
    Canvas clipped(5, 4);
    // Source columns 1..3 of the bottom row, doubled, with the rectangle's first two columns off the left.
    part.DrawPartStretched(-2, 1, 6, 2, &clipped.dc, 1, 1, 3, 1);
    for (int y = 1; y <= 2; ++y) {
        EXPECT_EQ(clipped(0, y), kGreen565);
        EXPECT_EQ(clipped(1, y), kGreen565);
        EXPECT_EQ(clipped(2, y), kRed565);
        EXPECT_EQ(clipped(3, y), kRed565);
    }
    EXPECT_EQ(clipped.Count(kMark), 12);

    Canvas shrunk(4, 1);
    part.DrawPartStretched(1, 0, 2, 1, &shrunk.dc, 0, 1, 4, 1);  // pairs of the bottom row
    EXPECT_EQ(shrunk(0, 0), kMark);
    EXPECT_EQ(shrunk(1, 0), PackRgb565(128, 128, 255));  // white and blue
    EXPECT_EQ(shrunk(2, 0), PackRgb565(128, 128, 0));    // green and red
    EXPECT_EQ(shrunk(3, 0), kMark);
}

TEST_F(DibTest, AveragesKeepVisiblePixelsVisible) {
    // A dark visible pixel among black ones averages to (4, 2, 4), which would pack to 0.
    const Bmp b = Picture24(4, 1, {0x100810, 0, 0, 0});
    CDibImage image("dark", b.Bytes().data(), b.Bytes().size());
    Canvas canvas(1, 1);
    image.DrawStretched(0, 0, 1, 1, &canvas.dc);
    EXPECT_EQ(canvas(0, 0), 0x0020);

    // Colours that paint as transparent stay transparent when averaged.
    const Bmp clear = Picture24(2, 1, {0x040204, 0x070307});
    CDibImage see("clear", clear.Bytes().data(), clear.Bytes().size());
    Canvas c2(1, 1);
    see.DrawStretched(0, 0, 1, 1, &c2.dc);
    EXPECT_EQ(c2(0, 0), 0);
}

TEST_F(DibTest, PaddleFramesWidenFrom76To136) {
    // Frame 0: left half red, right half blue; frame 1: green.
    std::vector<uint32_t> px;
    for (int row = 0; row < 20; ++row) {
        for (int x = 0; x < 76; ++x) px.push_back(row >= 10 ? kGreen : x < 38 ? kRed : kBlue);
    }
    const Bmp b = Picture24(76, 20, px);
    CDibImage image("paddle", b.Bytes().data(), b.Bytes().size());
    Canvas canvas(136, 10);
    image.DrawPartStretched(0, 0, 136, 10, &canvas.dc, 0, 0, 76, 10);
    for (int x = 0; x < 136; ++x) EXPECT_EQ(canvas(x, 9), x < 68 ? kRed565 : kBlue565) << x;
    EXPECT_EQ(canvas.Count(kRed565), 680);
    image.DrawPartStretched(0, 0, 136, 10, &canvas.dc, 0, 10, 76, 10);
    EXPECT_EQ(canvas.Count(kGreen565), 1360);
}

}  // namespace
