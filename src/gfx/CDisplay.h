// The display: the back buffer, the sprite slots, the clipped colour-keyed blit, the two
// rectangle operations and the flip.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/DrawList.h"
#include "gfx/Surface.h"

using SlotIndex = int32_t;
using ColorRef = uint32_t;    // 0x00BBGGRR
using DisplayMode = int32_t;  // -1 not initialised, 0 windowed, 1 full-screen

// Which point of the sprite a blit's (x, y) designates.
enum Anchor : int32_t {
    kAnchorLeft,     // middle of the left edge
    kAnchorRight,    // middle of the right edge
    kAnchorTop,      // middle of the top edge
    kAnchorBottom,   // middle of the bottom edge
    kAnchorTopLeft,  // the corners
    kAnchorTopRight,
    kAnchorBottomLeft,
    kAnchorBottomRight,
    kAnchorCentre,
};

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class CDisplay {
public:
    CDisplay() = default;
    virtual ~CDisplay() = default;

    void CreateDirectDraw();
    int Init(DisplayMode mode, int32_t width, int32_t height, int32_t bpp);
    void AllocSlots(int32_t count);
    int CreateSlot(SlotIndex slot, int32_t width, int32_t height);
    // 1 with dc pointing at the slot's surface; 0 (nothing done) for a slot out of range or empty.
    int GetSlotDC(SlotIndex slot, SlotDC* dc);
    int ReleaseSlotDC(SlotIndex slot, SlotDC* dc);
    int32_t GetSlotWidth(SlotIndex slot) const;
    int32_t GetSlotHeight(SlotIndex slot) const;
    int Blit(int32_t x, int32_t y, int32_t w, int32_t h, SlotIndex slot, int32_t sx, int32_t sy,
             int32_t anchor);
    int DrawRectOutline(int32_t x, int32_t y, int32_t w, int32_t h, ColorRef colour);
    int DrawBevelBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t t, ColorRef light, ColorRef face,
                     ColorRef dark);
    void Flip();
    void Release();

    static uint16_t ConvertColor(ColorRef c);

    // The frame being composed, drawn out so far (null before Init); for screenshots and tests.
    const Surface* BackBuffer() const;
    DisplayMode Mode() const { return m_mode; }
    int32_t SlotCount() const { return m_slotCount; }

private:
    void StartDrawing();
    void DrawPendingNow() const;
    void SlotsChanging();
    template <typename Call>
    void Issue(const Call& call);
    Clip ScreenClip() const;
    // The slot's surface, or null for a slot out of range or empty.
    Surface* SlotSurface(SlotIndex slot) const;
    // Whether a slot holds no colour-key pixel, worked out at its first blit after it was painted:
    // such a slot is copied row by row without the key test. A slot out for painting never is.
    enum class Keying : uint8_t { Painting, Unknown, Opaque, Keyed };
    bool IsOpaque(SlotIndex slot, const Surface& surface);

    ScreenRect m_screen;
    int32_t m_bpp = 0;
    int32_t m_slotCount = 0;
    DisplayMode m_mode = -1;
    std::unique_ptr<Surface> m_backBuffer;
    std::unique_ptr<std::unique_ptr<Surface>[]> m_slots;
    std::unique_ptr<Keying[]> m_keying;  // one per slot
    bool m_directDraw = false;
    // The frame's calls wait in the draw list until the flip, unless every frame is to be drawn whole
    // or something had to see the frame before it was finished.
    mutable DrawList m_drawList;
    bool m_deferAll = false;
    mutable bool m_deferring = false;
};
