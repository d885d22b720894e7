#include "app/Framework.h"

#include "platform/Platform.h"

namespace {

// The string resource of a frame: its first newline-separated field is the window title.
bool LoadFrameString(int resourceId, std::string* title) {
    if (resourceId != kGameFrameResource) return false;
    *title = "Tarvik";
    return true;
}

}  // namespace

CFrameWnd::~CFrameWnd() {
    if (m_window) plat::DestroyMainWindow();
}

int CFrameWnd::LoadFrame(int resourceId, uint32_t style) {
    CreateParams cs;
    cs.style = style;
    if (!LoadFrameString(resourceId, &cs.title)) return 0;
    cs.menu = true;  // the frame resource carries a menu
    if (!PreCreateWindow(cs)) return 0;
    if (!plat::CreateMainWindow(cs.title.c_str())) return 0;
    m_window = true;
    m_menu = cs.menu;
    m_title = cs.title;
    return 1;
}

int CFrameWnd::PreCreateWindow(CreateParams& cs) {
    return cs.title.empty() ? 0 : 1;
}
