// One showing of a dialog: a wx dialog built from the dialog template, its controls placed in
// dialog units of the template's own font, its commands sent to the dialog object's message map.
#pragma once

// Before any wx header: wx defines TRUE and FALSE as macros, which the framework has as constants.
#include "framework/types.h"

#include <wx/dialog.h>

class CDialog;
class FrameWindow;
class wxCloseEvent;
class wxCommandEvent;
class wxInitDialogEvent;
class wxKeyEvent;
struct DialogTemplate;

class DialogWindow : public wxDialog {
public:
    DialogWindow(CDialog& owner, const DialogTemplate& dialogTemplate, FrameWindow* ownerWindow);

private:
    void CreateControls(const DialogTemplate& dialogTemplate);
    void Place(const DialogTemplate& dialogTemplate, FrameWindow* ownerWindow);
    void OnInitDialog(wxInitDialogEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);

    CDialog& m_owner;
    wxWindow* m_firstTabStop = nullptr;
};
