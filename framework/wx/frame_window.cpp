#include "framework/wx/frame_window.h"

#include <wx/app.h>
#include <wx/icon.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include "framework/frame_wnd.h"
#include "framework/win_app.h"
#include "framework/wx/wx_text.h"
#include "res/resources.h"

namespace {
constexpr int kFirstMenuWxId = wxID_HIGHEST + 1;
}  // namespace

FrameWindow::FrameWindow(CFrameWnd& owner, int resourceId)
    : wxFrame(nullptr, wxID_ANY, ToWx(FindString(resourceId)), wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | wxFULL_REPAINT_ON_RESIZE),
      m_owner(&owner) {
    if (const char* const* icon = FindIconXpm(resourceId)) {
        SetIcon(wxIcon(icon));
    }
    BuildMenuBar(resourceId);
    // The frame's one child fills its client area.
    m_clientArea = new wxWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxFULL_REPAINT_ON_RESIZE | wxBORDER_SUNKEN);
    m_clientArea->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    m_clientArea->Bind(wxEVT_PAINT, &FrameWindow::OnPaintClientArea, this);
    Bind(wxEVT_MENU, &FrameWindow::OnMenu, this);
    Bind(wxEVT_CLOSE_WINDOW, &FrameWindow::OnClose, this);
}

FrameWindow::~FrameWindow() {
    if (m_owner == nullptr) {
        return;
    }
    m_owner->AttachWindow(nullptr);
    CWinApp* application = AfxGetApp();
    if (application != nullptr && application->m_pMainWnd == m_owner) {
        application->m_pMainWnd = nullptr;
        wxTheApp->ExitMainLoop();
    }
    delete m_owner;
}

void FrameWindow::BuildMenuBar(int resourceId) {
    auto* menuBar = new wxMenuBar;
    for (const MenuPopup& popup : FindMenu(resourceId)) {
        auto* menu = new wxMenu;
        for (const MenuItem& item : popup.items) {
            if (item.text == nullptr) {
                menu->AppendSeparator();
                continue;
            }
            const int wxId = kFirstMenuWxId + static_cast<int>(m_menuCommands.size());
            m_menuCommands.push_back(item.commandId);
            menu->Append(wxId, ToWx(item.text));
            // An item whose command nobody handles is shown disabled.
            menu->Enable(wxId, m_owner->HasHandler(WindowMessage::Command, item.commandId));
        }
        menuBar->Append(menu, ToWx(popup.text));
    }
    SetMenuBar(menuBar);
}

wxPoint FrameWindow::ClientOriginOnScreen() const { return m_clientArea->ClientToScreen(wxPoint(0, 0)); }

void FrameWindow::OnMenu(wxCommandEvent& event) {
    const int index = event.GetId() - kFirstMenuWxId;
    if (index < 0 || index >= static_cast<int>(m_menuCommands.size()) || m_owner == nullptr) {
        event.Skip();
        return;
    }
    // One command at a time: a command that reached an ownerless message box is still running,
    // and a second one started from that box's loop would overwrite the packet buffer and the
    // unit state under it.
    if (m_commandRunning) {
        return;
    }
    m_commandRunning = true;
    m_owner->Dispatch(WindowMessage::Command, m_menuCommands[static_cast<std::size_t>(index)]);
    m_commandRunning = false;
}

void FrameWindow::OnClose(wxCloseEvent& event) {
    // Destroying the frame under a running command would delete the object that runs it.
    if (m_commandRunning && event.CanVeto()) {
        event.Veto();
        return;
    }
    Hide();
    Destroy();
}

void FrameWindow::OnPaintClientArea(wxPaintEvent& event) {
    if (m_owner == nullptr || !m_owner->Dispatch(WindowMessage::Paint)) {
        event.Skip();
    }
}

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    if (m_window != nullptr) {
        m_window->ForgetOwner();
        m_window->Destroy();
    }
}

BOOL CFrameWnd::LoadFrame(int resourceId, unsigned) {
    // The program asks for the one style it has: an overlapped window, titled with no document.
    if (m_window != nullptr || FindString(resourceId) == nullptr) {
        return FALSE;
    }
    m_window = new FrameWindow(*this, resourceId);
    return TRUE;
}

void CFrameWnd::ShowWindow(int) {
    if (m_window != nullptr) {
        m_window->Show();
    }
}

void CFrameWnd::UpdateWindow() {
    if (m_window != nullptr) {
        m_window->ClientArea()->Update();
    }
}

void CFrameWnd::Invalidate(BOOL erase) {
    if (m_window != nullptr) {
        m_window->ClientArea()->Refresh(erase != FALSE);
    }
}

void CFrameWnd::GetClientRect(RECT* rect) const {
    *rect = RECT{};
    if (m_window != nullptr) {
        const wxSize size = m_window->ClientArea()->GetClientSize();
        rect->right = size.GetWidth();
        rect->bottom = size.GetHeight();
    }
}

void CFrameWnd::DestroyWindow() {
    if (m_window != nullptr) {
        m_window->Destroy();
    }
}
