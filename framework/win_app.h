// The one application object. The framework calls InitInstance once after start-up, then runs
// the message loop until the main window is destroyed.
#pragma once

#include <string>

#include "framework/types.h"

class CFrameWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }

    CFrameWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
};

CWinApp* AfxGetApp();
CFrameWnd* AfxGetMainWnd();

// The executable's file name without its extension: the title of message boxes that name no other.
const std::string& AfxGetAppName();
