#include "net/status_probe.h"

#include <arpa/inet.h>

#include <cstring>

#include "net/socket_errors.h"
#include "unit/parameters_dlg.h"

void CParametersDlg::BuildStatusProbe() {
    using namespace snmp_probe;
    std::uint8_t* p = m_packet;
    const std::uint8_t message[] = {0x30, 0x2A};  // SEQUENCE, 42
    std::memcpy(p + kMessage, message, sizeof message);
    const std::uint8_t version[] = {0x02, 0x01, 0x00};  // INTEGER 0: SNMPv1
    std::memcpy(p + kVersion, version, sizeof version);
    p[kCommunity] = 0x04;  // OCTET STRING, 6
    p[kCommunity + 1] = static_cast<std::uint8_t>(kCommunityLength);
    for (std::size_t i = 0; i < kCommunityLength; ++i) {
        p[kCommunityValue + i] = static_cast<std::uint8_t>(i < m_strCommunity.size() ? m_strCommunity[i] : ' ');
    }
    const std::uint8_t pdu[] = {0xA0, 0x1D};  // GetRequest-PDU, 29
    std::memcpy(p + kPdu, pdu, sizeof pdu);
    const std::uint8_t requestId[] = {0x02, 0x04, 0x4C, 0xED, 0x2D, 0x58};  // the same in every request
    std::memcpy(p + kRequestId, requestId, sizeof requestId);
    const std::uint8_t errorStatus[] = {0x02, 0x01, 0x00};
    std::memcpy(p + kErrorStatus, errorStatus, sizeof errorStatus);
    const std::uint8_t errorIndex[] = {0x02, 0x01, 0x00};
    std::memcpy(p + kErrorIndex, errorIndex, sizeof errorIndex);
    const std::uint8_t bindings[] = {0x30, 0x0F};  // SEQUENCE, 15
    std::memcpy(p + kBindings, bindings, sizeof bindings);
    const std::uint8_t binding[] = {0x30, 0x0D};  // SEQUENCE, 13
    std::memcpy(p + kBinding, binding, sizeof binding);
    const std::uint8_t name[] = {0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x02, 0x01, 0x00};  // ifNumber.0
    std::memcpy(p + kName, name, sizeof name);
    // The probe has always carried INTEGER 1 where a GetRequest usually has NULL; the units
    // answer it, so it stays.
    const std::uint8_t value[] = {0x02, 0x01, 0x01};
    std::memcpy(p + kValue, value, sizeof value);
}

int CParametersDlg::SendStatusProbe() {
    if (m_socket.Open() == SOCKET_ERROR) {
        MessageBox("Invalid Socket returned");
        ReportSocketError(*this);
        return -1;
    }
    if (m_socket.SetBroadcast() == SOCKET_ERROR || m_socket.SetNonBlocking() == SOCKET_ERROR) {
        MessageBox("Setting socket options failed");
        ReportSocketError(*this);
        m_socket.Close();
        return -1;
    }
    m_localAddr = MakeSocketAddress(htonl(INADDR_ANY), htons(kProbeLocalPort));
    if (m_socket.Bind(m_localAddr) == SOCKET_ERROR) {
        MessageBox("Bind error");
        ReportSocketError(*this);
        m_socket.Close();
        return -1;
    }
    m_unitAddr = MakeSocketAddress(m_ipAddress, htons(kSnmpPort));
    BuildStatusProbe();
    if (m_socket.SendTo(m_packet, kStatusProbeLength, m_unitAddr) == SOCKET_ERROR) {
        MessageBox("sendto failure");
        ReportSocketError(*this);
        m_socket.Close();
        return -1;
    }
    return 0;
}

void CParametersDlg::AwaitStatusReply() {
    bool answered = false;
    for (int poll = 0; poll < kReplyPolls && !answered; ++poll) {
        // An empty datagram does not count, nor one too long for the buffer (its receive fails).
        answered = m_socket.ReceiveFrom(m_packet, kPacketBufferSize, &m_replyFrom) > 0;
    }
    MessageBox(answered ? kUnitActiveText : kUnitNotActiveText, kProbeTitle);
    m_socket.Close();
}
