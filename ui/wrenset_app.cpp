#include "ui/wrenset_app.h"

#include "ui/main_frame.h"

BOOL CWrensetApp::InitInstance() {
    // Dialogs draw with the desktop's own look; there is nothing to load for it.
    m_pMainWnd = new CMainFrame;
    m_pMainWnd->ShowWindow(m_nCmdShow);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}
