// The parameters dialog's own commands: Go checks the four fields, Cancel closes.
#include "unit/parameters_dlg.h"

const MessageMap& CParametersDlg::ClassMessageMap() {
    static const MessageMapEntry entries[] = {
        {WindowMessage::Command, IDOK, Handler(&CParametersDlg::OnGo)},
    };
    static const MessageMap map{&CDialog::ClassMessageMap(), entries};
    return map;
}

void CParametersDlg::OnGo() {
    m_bAccepted = 0;
    // The checks run in this order, which is not the order of the fields on the screen.
    GetDlgItemText(IDC_IP_ADDRESS, m_strIpAddress, kFieldTextLimit);
    if (ParseDottedAddress(m_strIpAddress, IDC_IP_ADDRESS) != 0) {
        MessageBox("Invalid IP Address");
        return;
    }
    GetDlgItemText(IDC_HARDWARE_ADDRESS, m_strHardwareAddress, kFieldTextLimit);
    if (ParseHardwareAddress(m_strHardwareAddress) != 0) {
        MessageBox("Invalid Hardware Address");
        return;
    }
    GetDlgItemText(IDC_DEFAULT_GATEWAY, m_strGateway, kFieldTextLimit);
    if (ParseDottedAddress(m_strGateway, IDC_DEFAULT_GATEWAY) != 0) {
        MessageBox("Invalid Default Gateway Address");
        return;
    }
    GetDlgItemText(IDC_SUBNET_MASK, m_strSubnetMask, kFieldTextLimit);
    if (ParseDottedAddress(m_strSubnetMask, IDC_SUBNET_MASK) != 0) {
        MessageBox("Invalid Subnet Mask");
        return;
    }
    m_bAccepted = 1;
    CDialog::OnOK();
}

void CParametersDlg::OnCancel() { CDialog::OnCancel(); }
