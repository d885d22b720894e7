// The application: holds the game record for its whole life, opens the window and runs the
// main loop, one window message and one tick per pass.
#pragma once

#include <cstdint>

#include "app/FrameTimeLog.h"
#include "app/Framework.h"
#include "game/CGame.h"

// Told after every frame the tick ran (automation: state traces, frame budgets).
class FrameListener {
public:
    virtual ~FrameListener() = default;
    virtual void OnFrame(const CGame& game, uint32_t frame) = 0;
};

class CGameApp : public CWinApp {
public:
    CGameApp() = default;

    int InitInstance() override;
    int Run() override;
    int ExitInstance() override;

    CGame& Game() { return m_game; }
    const CGame& Game() const { return m_game; }
    // Frames the tick has run so far.
    uint32_t FramesRun() const { return m_nFramesRun; }
    void SetFrameListener(FrameListener* listener) { m_pFrameListener = listener; }

private:
    // One tick, numbered for the platform; false when the game asks to stop.
    bool TickOnce();
    void WaitForNextFrame();

    CGame m_game;
    uint32_t m_nFramesRun = 0;
    FrameListener* m_pFrameListener = nullptr;
    FrameTimeLog m_frameTimes;
};
