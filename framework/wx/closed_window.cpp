#include "framework/wx/closed_window.h"

#include <wx/utils.h>
#include <wx/window.h>

#include <X11/Xlib.h>

namespace {

void SyncDisplay() {
    const wxDisplayInfo display = wxGetDisplayInfo();
    if (display.type == wxDisplayX11 && display.dpy != nullptr) {
        XSync(static_cast<Display*>(display.dpy), False);
    }
}

}  // namespace

void ShowClosedWindowGone(wxWindow* coveredWindow) {
    SyncDisplay();
    if (coveredWindow != nullptr) {
        coveredWindow->Refresh();
        coveredWindow->Update();
        SyncDisplay();
    }
}
