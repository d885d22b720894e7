// Arbitrary bytes through the BMP reader, then painted every way the game paints sprites.
#include <cstddef>
#include <cstdint>

#include "gfx/CDibImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDibImage image("fuzz.bmp", data, size);
    // Pictures of millions of pixels paint through the same code as small ones, only slower.
    if (int64_t{image.GetWidth()} * image.GetHeight() > (int64_t{1} << 18)) return 0;
    Surface slot(24, 16);
    SlotDC dc{&slot};
    image.Draw(-3, 2, &dc);
    image.DrawStretched(0, 0, slot.width, slot.height, &dc);
    image.DrawPart(4, -2, 16, 15, &dc, 5, 3);
    image.DrawPartStretched(-5, 1, 40, 9, &dc, 1, 2, 11, 5);
    return 0;
}
