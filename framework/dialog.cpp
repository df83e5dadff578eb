#include "framework/dialog.h"

CDialog::CDialog(int templateId) : m_templateId(templateId) {}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

const MessageMap& CDialog::ClassMessageMap() {
    static const MessageMapEntry entries[] = {
        {WindowMessage::Command, IDOK, Handler(&CDialog::OnOK)},
        {WindowMessage::Command, IDCANCEL, Handler(&CDialog::OnCancel)},
    };
    static const MessageMap map{&CCmdTarget::ClassMessageMap(), entries};
    return map;
}
