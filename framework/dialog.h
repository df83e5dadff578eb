// A modal dialog made from a dialog template. The C++ object lives on; its window exists only
// while DoModal runs, created from the template for that showing and destroyed afterwards.
#pragma once

#include <string>

#include "framework/cmd_target.h"
#include "framework/types.h"

class DialogWindow;  // one showing's window, defined by the framework implementation

class CDialog : public CCmdTarget {
public:
    explicit CDialog(int templateId);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog owned by the main window (none if there is none yet) and returns the
    // result passed to EndDialog.
    int DoModal();

    // Copies at most maxCount - 1 characters of a control's text into text; returns their count.
    int GetDlgItemText(int controlId, std::string& text, int maxCount) const;

    // A box with one OK button. Its owner is this dialog's window while that is open, else none;
    // an empty title means the application's name.
    int MessageBox(const std::string& text, const std::string& title = {});

    int TemplateId() const { return m_templateId; }

    // The showing's window, for the framework implementation only.
    DialogWindow* Window() const { return m_window; }
    void AttachWindow(DialogWindow* window) { m_window = window; }

protected:
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    static const MessageMap& ClassMessageMap();
    const MessageMap& GetMessageMap() const override { return ClassMessageMap(); }

private:
    int m_templateId;
    DialogWindow* m_window = nullptr;
};
