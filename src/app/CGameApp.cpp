#include "app/CGameApp.h"

#include <memory>

#include "app/CGameFrame.h"
#include "platform/Platform.h"

int CGameApp::InitInstance() {
    auto frame = std::make_unique<CGameFrame>();
    if (!frame->LoadFrame(kGameFrameResource, CGameFrame::kStyle)) return 0;
    // The services take the main window when they are created, so it is recorded first.
    m_pMainWnd = std::move(frame);
    m_game.LoadAssets();
    return 1;
}

int CGameApp::Run() {
    plat::ShowCursor(false);
    m_game.NewGame();
    for (;;) {
        plat::Message msg;
        if (plat::PeekMessage(&msg)) {
            if (!plat::GetMessage(&msg)) break;
            plat::TranslateMessage(&msg);
            plat::DispatchMessage(&msg);
        }
        // A minimised or unfocused window runs no frames; the game waits where it stood.
        if (plat::IsPaused()) {
            plat::Idle(5);
            continue;
        }
        if (!TickOnce()) break;
        WaitForNextFrame();
    }
    m_game.Shutdown();
    plat::ShowCursor(true);
    return ExitInstance();
}

bool CGameApp::TickOnce() {
    plat::BeforeTick(m_nFramesRun + 1);
    const uint32_t lastFrame = m_game.m_dwLastFrame;
    const int64_t start = m_frameTimes.Now();
    const int result = m_game.Tick();
    if (m_game.m_dwLastFrame != lastFrame) {
        m_frameTimes.Add(start, m_frameTimes.Now(), m_game.m_dwLastFrame);
        ++m_nFramesRun;
        if (m_pFrameListener) m_pFrameListener->OnFrame(m_game, m_nFramesRun);
    }
    return result != 0;
}

// Until the next frame is due the loop has nothing to do, so the platform sleeps to the start of
// that millisecond: one wake-up a frame. Waking every millisecond to poll cost more than the frame.
void CGameApp::WaitForNextFrame() {
    const uint32_t since = plat::GetTickCount() - m_game.m_dwLastFrame;
    if (since < m_game.m_dwFrameInterval) plat::Idle(static_cast<int>(m_game.m_dwFrameInterval - since));
}

int CGameApp::ExitInstance() {
    m_pMainWnd.reset();
    return CWinApp::ExitInstance();
}
