// The main frame window, loaded from resources (menu, title, icon).
#pragma once

#include "framework/cmd_target.h"
#include "framework/types.h"

class FrameWindow;  // the frame's window, defined by the framework implementation

class CFrameWnd : public CCmdTarget {
public:
    CFrameWnd();
    ~CFrameWnd() override;
    CFrameWnd(const CFrameWnd&) = delete;
    CFrameWnd& operator=(const CFrameWnd&) = delete;

    BOOL LoadFrame(int resourceId, unsigned style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE);
    void ShowWindow(int showCommand);
    void UpdateWindow();
    void Invalidate(BOOL erase = TRUE);
    void GetClientRect(RECT* rect) const;

    // Destroys the window; the framework then deletes this object, and destroying the main
    // window ends the message loop.
    void DestroyWindow();

    FrameWindow* Window() const { return m_window; }
    void AttachWindow(FrameWindow* window) { m_window = window; }

protected:
    static const MessageMap& ClassMessageMap();
    const MessageMap& GetMessageMap() const override { return ClassMessageMap(); }

private:
    FrameWindow* m_window = nullptr;
};
