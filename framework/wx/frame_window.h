// The main frame's wx window: menu, title and icon from the resources, and a client area with a
// sunken edge that is repainted whole whenever its size changes.
#pragma once

// Before any wx header: wx defines TRUE and FALSE as macros, which the framework has as constants.
#include "framework/types.h"

#include <wx/frame.h>

#include <vector>

class CFrameWnd;
class wxCloseEvent;
class wxCommandEvent;
class wxPaintEvent;

class FrameWindow : public wxFrame {
public:
    FrameWindow(CFrameWnd& owner, int resourceId);
    // Deletes the frame object with its window, as the framework does.
    ~FrameWindow() override;

    wxWindow* ClientArea() const { return m_clientArea; }
    // Where the client area's top-left corner lies on the screen.
    wxPoint ClientOriginOnScreen() const;

    // For a frame object deleted before its window.
    void ForgetOwner() { m_owner = nullptr; }

private:
    void BuildMenuBar(int resourceId);
    void OnMenu(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnPaintClientArea(wxPaintEvent& event);

    CFrameWnd* m_owner;
    wxWindow* m_clientArea = nullptr;
    // The program's command ids by menu position; wx refuses ids of 0x7fff and above, which
    // the program's commands have, so each menu item gets a wx id of its own.
    std::vector<int> m_menuCommands;
    bool m_commandRunning = false;
};
