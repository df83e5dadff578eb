#include "framework/wx/dialog_window.h"

#include <wx/button.h>
#include <wx/fontenum.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "framework/dialog.h"
#include "framework/frame_wnd.h"
#include "framework/win_app.h"
#include "framework/wx/closed_window.h"
#include "framework/wx/frame_window.h"
#include "framework/wx/wx_text.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

// The templates name the faces of the desktop they were drawn for ("MS Sans Serif", "Helv"); where
// the face is missing, the desktop's sans-serif face of the same size takes its place.
wxFont TemplateFont(const DialogTemplate& dialogTemplate) {
    wxFontInfo font(dialogTemplate.pointSize);
    const wxString face = ToWx(dialogTemplate.fontName);
    if (!face.empty() && wxFontEnumerator::IsValidFacename(face)) {
        font.FaceName(face);
    } else {
        font.Family(wxFONTFAMILY_SWISS);
    }
    return wxFont(font);
}

}  // namespace

DialogWindow::DialogWindow(CDialog& owner, const DialogTemplate& dialogTemplate, FrameWindow* ownerWindow)
    : wxDialog(ownerWindow, wxID_ANY, ToWx(dialogTemplate.caption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_owner(owner) {
    // Dialog units are measured in the dialog's own font, so it goes on first.
    SetFont(TemplateFont(dialogTemplate));
    SetClientSize(ConvertDialogToPixels(wxSize(dialogTemplate.width, dialogTemplate.height)));
    CreateControls(dialogTemplate);
    Place(dialogTemplate, ownerWindow);
    Bind(wxEVT_INIT_DIALOG, &DialogWindow::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &DialogWindow::OnButton, this);
    Bind(wxEVT_CHAR_HOOK, &DialogWindow::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &DialogWindow::OnClose, this);
}

void DialogWindow::CreateControls(const DialogTemplate& dialogTemplate) {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        const wxPoint position = ConvertDialogToPixels(wxPoint(control.x, control.y));
        const wxSize size = ConvertDialogToPixels(wxSize(control.width, control.height));
        const int id = control.id == IDC_STATIC ? wxID_ANY : control.id;
        const wxString text = ToWx(control.text);
        wxWindow* window = nullptr;
        switch (control.kind) {
            case ControlKind::Edit:
                window = new wxTextCtrl(this, id, text, position, size);
                break;
            case ControlKind::DefaultPushButton: {
                auto* button = new wxButton(this, id, text, position, size);
                button->SetDefault();
                window = button;
                break;
            }
            case ControlKind::PushButton:
                window = new wxButton(this, id, text, position, size);
                break;
            case ControlKind::StaticText:
                window = new wxStaticText(this, id, text, position, size, wxALIGN_LEFT | wxST_NO_AUTORESIZE);
                break;
        }
        if ((control.style & kTabStop) != 0 && m_firstTabStop == nullptr) {
            m_firstTabStop = window;
        }
    }
}

// A template at 0, 0 is centred over its owner; any other position counts in dialog units from
// the top-left corner of the owner's client area.
void DialogWindow::Place(const DialogTemplate& dialogTemplate, FrameWindow* ownerWindow) {
    if (dialogTemplate.x == 0 && dialogTemplate.y == 0) {
        CentreOnParent();
        return;
    }
    const wxPoint offset = ConvertDialogToPixels(wxPoint(dialogTemplate.x, dialogTemplate.y));
    const wxPoint origin = ownerWindow != nullptr ? ownerWindow->ClientOriginOnScreen() : wxPoint(0, 0);
    Move(origin + offset);
}

void DialogWindow::OnInitDialog(wxInitDialogEvent&) {
    if (m_firstTabStop != nullptr) {
        m_firstTabStop->SetFocus();
    }
}

void DialogWindow::OnButton(wxCommandEvent& event) { m_owner.Dispatch(WindowMessage::Command, event.GetId()); }

// Escape is Cancel, whether or not the dialog has a Cancel button.
void DialogWindow::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
        m_owner.Dispatch(WindowMessage::Command, IDCANCEL);
        return;
    }
    event.Skip();
}

// The close box is Cancel too.
void DialogWindow::OnClose(wxCloseEvent&) { m_owner.Dispatch(WindowMessage::Command, IDCANCEL); }

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(m_templateId);
    if (dialogTemplate == nullptr || m_window != nullptr) {
        return -1;
    }
    CFrameWnd* mainWindow = AfxGetMainWnd();
    FrameWindow* ownerWindow = mainWindow != nullptr ? mainWindow->Window() : nullptr;
    int result = IDCANCEL;
    {
        DialogWindow window(*this, *dialogTemplate, ownerWindow);
        AttachWindow(&window);
        result = window.ShowModal();
        AttachWindow(nullptr);
    }
    ShowClosedWindowGone(ownerWindow);
    return result;
}

void CDialog::EndDialog(int result) {
    if (m_window != nullptr) {
        m_window->EndModal(result);
    }
}

int CDialog::GetDlgItemText(int controlId, std::string& text, int maxCount) const {
    text.clear();
    if (m_window == nullptr || maxCount <= 0) {
        return 0;
    }
    const auto* edit = dynamic_cast<const wxTextCtrl*>(m_window->FindWindow(controlId));
    if (edit == nullptr) {
        return 0;
    }
    const wxString value = edit->GetValue().Left(static_cast<std::size_t>(maxCount - 1));
    text = value.utf8_string();
    return static_cast<int>(value.length());
}
