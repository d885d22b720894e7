// The game's one top-level window.
#pragma once

#include "app/Framework.h"

class CGameFrame : public CFrameWnd {
public:
    // The frame resource and the overlapped-window style the shell loads it with.
    static constexpr int kResource = 128;
    static constexpr uint32_t kStyle = 0x00CF8000;

    int PreCreateWindow(CreateParams& cs) override;
};
