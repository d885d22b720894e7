// The scrolling background: 872 pixels wide, shown 800 at a time, shifted up to 72 against the paddle.
#include "Backdrop.h"
#include "Sprites.h"

namespace assetgen {

Image MakeBackground() {
    // The block field (100..700 on screen) covers picture columns 100..772 over the whole scroll.
    return MakeSky(872, 600, {100, 55, 772, 355}).Dithered();
}

}  // namespace assetgen
