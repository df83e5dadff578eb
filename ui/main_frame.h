#pragma once

#include "framework/frame_wnd.h"

class CParametersDlg;
class CDialog;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    // The dialog objects the commands run; by default the program's static ones.
    CMainFrame(CParametersDlg& parametersDlg, CDialog& aboutDlg);

    void OnPaint();
    void OnAbout();
    void OnConfigure();
    void OnVerify();
    void OnExit();

protected:
    static const MessageMap& ClassMessageMap();
    const MessageMap& GetMessageMap() const override { return ClassMessageMap(); }

private:
    CParametersDlg& m_parametersDlg;
    CDialog& m_aboutDlg;
};
