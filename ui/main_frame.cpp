#include "ui/main_frame.h"

#include <thread>

#include "framework/paint_dc.h"
#include "net/status_probe.h"
#include "res/resource.h"
#include "ui/app_objects.h"

namespace {
constexpr COLORREF kBannerBlue = RGB(0, 0, 255);
constexpr int kBannerFontHeight = 75;
constexpr char kBannerText[] = "Tanager";
}  // namespace

CMainFrame::CMainFrame() : CMainFrame(g_parametersDlg, g_aboutDlg) {}

CMainFrame::CMainFrame(CParametersDlg& parametersDlg, CDialog& aboutDlg)
    : m_parametersDlg(parametersDlg), m_aboutDlg(aboutDlg) {
    LoadFrame(IDR_MAINFRAME);
}

const MessageMap& CMainFrame::ClassMessageMap() {
    static const MessageMapEntry entries[] = {
        {WindowMessage::Paint, 0, Handler(&CMainFrame::OnPaint)},
        {WindowMessage::Command, IDD_ABOUTBOX, Handler(&CMainFrame::OnAbout)},
        {WindowMessage::Command, ID_ADMIN_CONFIGURE, Handler(&CMainFrame::OnConfigure)},
        {WindowMessage::Command, ID_ADMIN_VERIFY, Handler(&CMainFrame::OnVerify)},
        {WindowMessage::Command, ID_ADMIN_EXIT, Handler(&CMainFrame::OnExit)},
    };
    static const MessageMap map{&CFrameWnd::ClassMessageMap(), entries};
    return map;
}

void CMainFrame::OnPaint() {
    CPen pen(PS_SOLID, 2, kBannerBlue);  // selected, though nothing is drawn with it
    CFont font;
    font.CreateFont(kBannerFontHeight, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0, nullptr);
    CPaintDC dc(this);
    dc.SelectObject(&pen);
    dc.SelectObject(&font);
    RECT client;
    GetClientRect(&client);
    dc.SetTextAlign(TA_CENTER | TA_BASELINE);
    dc.SetTextColor(kBannerBlue);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(client.right / 2, client.bottom / 2, kBannerText);
}

void CMainFrame::OnAbout() { m_aboutDlg.DoModal(); }

void CMainFrame::OnConfigure() {
    m_parametersDlg.DoModal();
    if (m_parametersDlg.m_bAccepted != 0) {
        m_parametersDlg.ConfigureUnit();
    }
    Invalidate(TRUE);
}

void CMainFrame::OnVerify() {
    // A probe whose set-up failed has closed its socket and reported why; there is nothing to
    // wait for, and "not Active" would misreport a failure of this host as one of the unit.
    if (m_parametersDlg.SendStatusProbe() == 0) {
        std::this_thread::sleep_for(kProbePause);
        m_parametersDlg.AwaitStatusReply();
    }
    Invalidate(TRUE);
}

void CMainFrame::OnExit() { DestroyWindow(); }
