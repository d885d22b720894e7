#include "app/CGameFrame.h"

int CGameFrame::PreCreateWindow(CreateParams& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return 0;
    cs.menu = false;  // the game shows no menu bar
    return 1;
}
