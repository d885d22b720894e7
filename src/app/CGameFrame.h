// The game's one top-level window.
#pragma once

#include "app/Framework.h"

class CGameFrame : public CFrameWnd {
public:
    // The overlapped-window style the shell loads the frame resource with.
    static constexpr uint32_t kStyle = 0x00CF8000;

    int PreCreateWindow(CreateParams& cs) override;
};
