#include "unit/parameters_dlg.h"

#include <arpa/inet.h>

#include <cstring>

CParametersDlg::CParametersDlg() : CDialog(IDD_PARAMETERS) {}

int CParametersDlg::ParseDottedAddress(std::string text, int controlId) {
    // The field read's limit keeps every text within 255 characters; the copy is bounded all the same.
    char buffer[kFieldTextLimit] = {};
    std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
    const in_addr_t address = ::inet_addr(buffer);
    switch (controlId) {
        case IDC_IP_ADDRESS: m_ipAddress = address; break;
        case IDC_SUBNET_MASK: m_subnetMask = address; break;
        case IDC_DEFAULT_GATEWAY: m_gateway = address; break;
        default: break;
    }
    return address == INADDR_NONE ? -1 : 0;
}

int CParametersDlg::HexDigitValue(char digit, std::uint8_t* value) {
    if (digit >= '0' && digit <= '9') {
        *value = static_cast<std::uint8_t>(digit - '0');
    } else if (digit >= 'A' && digit <= 'F') {
        *value = static_cast<std::uint8_t>(digit - 'A' + 10);
    } else if (digit >= 'a' && digit <= 'f') {
        *value = static_cast<std::uint8_t>(digit - 'a' + 10);
    } else {
        return -1;
    }
    return 0;
}

int CParametersDlg::ParseHardwareAddress(std::string text) {
    constexpr std::size_t kTextLength = 17;  // six pairs and five colons
    if (text.size() != kTextLength) {
        return -1;
    }
    for (std::size_t separator = 2; separator < kTextLength; separator += 3) {
        if (text[separator] != ':') {
            return -1;
        }
    }
    for (int k = 0; k < kHardwareAddressLength; ++k) {
        std::uint8_t high = 0;
        std::uint8_t low = 0;
        if (HexDigitValue(text[3 * k], &high) != 0 || HexDigitValue(text[3 * k + 1], &low) != 0) {
            return -1;
        }
        m_hardwareAddress[k] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return 0;
}
