// The small part of a desktop application framework the shell is written against: an
// application object with overridable start, run and exit steps, and a frame window created
// from a resource id. The window itself is the platform's one main window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The program's one frame resource: the game window's title string and menu.
inline constexpr int kGameFrameResource = 128;

// What PreCreateWindow may adjust before the window is made.
struct CreateParams {
    uint32_t style = 0;
    std::string title;
    bool menu = false;
};

class CFrameWnd {
public:
    CFrameWnd() = default;
    CFrameWnd(const CFrameWnd&) = delete;
    CFrameWnd& operator=(const CFrameWnd&) = delete;
    // Destroys the window if it still exists.
    virtual ~CFrameWnd();

    // Creates the window described by frame resource resourceId (title string, menu). Returns 0
    // when there is no such resource, PreCreateWindow refuses, or the window cannot be made.
    int LoadFrame(int resourceId, uint32_t style);
    virtual int PreCreateWindow(CreateParams& cs);

    bool HasMenu() const { return m_menu; }
    const std::string& Title() const { return m_title; }

private:
    bool m_window = false;
    bool m_menu = false;
    std::string m_title;
};

class CWinApp {
public:
    CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp() = default;

    virtual int InitInstance() = 0;
    virtual int Run() = 0;
    // The process exit code.
    virtual int ExitInstance() { return 0; }

    std::unique_ptr<CFrameWnd> m_pMainWnd;
};
