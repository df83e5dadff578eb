#include "framework/dialog.h"
#include "framework/win_app.h"
#include "framework/wx/dialog_window.h"
#include "framework/wx/wx_text.h"

#include <wx/msgdlg.h>

// The box is owned by the dialog's window while that is open. With no window, wx would still
// attach the box to the main window; it is made ownerless instead.
int CDialog::MessageBox(const std::string& text, const std::string& title) {
    wxWindow* owner = m_window;
    const long style = wxOK | wxICON_NONE | (owner == nullptr ? wxDIALOG_NO_PARENT : 0);
    wxMessageDialog box(owner, ToWx(text), ToWx(title.empty() ? AfxGetAppName() : title), style);
    box.ShowModal();
    return IDOK;
}
