#include "net/bootp_exchange.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "net/socket_errors.h"
#include "unit/parameters_dlg.h"

namespace {

constexpr std::uint8_t kBootReply = 2;
constexpr std::uint8_t kEthernet = 1;
constexpr std::uint8_t kMagicCookie[] = {99, 130, 83, 99};
constexpr std::uint8_t kSubnetMaskTag = 1;
constexpr std::uint8_t kRouterTag = 3;
constexpr std::uint8_t kEndTag = 255;
constexpr std::uint8_t kAddressOptionLength = 4;

}  // namespace

bool ReceiveUnitRequest(UdpSocket& socket, std::uint8_t* request, sockaddr_in* from, int attempt,
                        const std::uint8_t* hardwareAddress) {
    socket.WaitReadable(kRequestWait);
    const int received = socket.ReceiveFrom(request, kPacketBufferSize, from);
    if (received == SOCKET_ERROR) {
        std::printf("recvfrom[%d]: %s\n", attempt, std::strerror(errno));
        std::fflush(stdout);
    }
    // Only bytes that this attempt's datagram wrote are compared; an over-long one fails
    // the receive yet leaves a full buffer, and is compared like any other.
    const bool broughtHardwareAddress =
        socket.LastReceiveBytes() >= static_cast<int>(bootp::kChaddr) + kHardwareAddressLength;
    return broughtHardwareAddress &&
           std::memcmp(request + bootp::kChaddr, hardwareAddress, kHardwareAddressLength) == 0;
}

int CParametersDlg::BuildBootpReply(std::uint32_t xid) {
    using namespace bootp;
    std::uint8_t* p = m_packet;
    std::memset(p, 0, kBootpReplyLength);
    p[kOp] = kBootReply;
    p[kHtype] = kEthernet;
    p[kHlen] = kHardwareAddressLength;
    p[kHops] = 0;
    std::memcpy(p + kXid, &xid, sizeof xid);
    // The secs field has always gone out as 0x64 0x00; units in the field accept it as it is.
    p[kSecs] = 0x64;
    p[kSecs + 1] = 0x00;
    // flags, ciaddr stay 0
    std::memcpy(p + kYiaddr, &m_ipAddress, sizeof m_ipAddress);
    // siaddr, giaddr stay 0
    std::memcpy(p + kChaddr, m_hardwareAddress, kHardwareAddressLength);
    // the rest of chaddr, sname and file stay 0
    std::memcpy(p + kVendor, kMagicCookie, sizeof kMagicCookie);
    // The reply always carries exactly the mask and router options.
    p[kMaskOption] = kSubnetMaskTag;
    p[kMaskOption + 1] = kAddressOptionLength;
    std::memcpy(p + kMaskOption + 2, &m_subnetMask, sizeof m_subnetMask);
    p[kRouterOption] = kRouterTag;
    p[kRouterOption + 1] = kAddressOptionLength;
    std::memcpy(p + kRouterOption + 2, &m_gateway, sizeof m_gateway);
    p[kEndOption] = kEndTag;
    // the vendor area's rest stays 0
    return 0;
}

int CParametersDlg::ConfigureUnit() {
    UdpSocket socket;
    if (socket.Open() == SOCKET_ERROR) {
        MessageBox("Invalid Socket returned");
        ReportSocketError(*this);
        return -1;
    }
    // IP_PKTINFO goes on before the bind, or a request arriving in between would not name its
    // interface.
    if (socket.SetBroadcast() == SOCKET_ERROR || socket.EnablePacketInfo() == SOCKET_ERROR ||
        (!m_strInterface.empty() && socket.BindToDevice(m_strInterface) == SOCKET_ERROR)) {
        MessageBox("Setting socket options failed");
        ReportSocketError(*this);
        return -1;
    }
    sockaddr_in local = MakeSocketAddress(htonl(INADDR_ANY), htons(kBootpServerPort));
    if (socket.Bind(local) == SOCKET_ERROR) {
        MessageBox("Bind error");
        ReportSocketError(*this);
        return -1;
    }

    std::uint8_t request[kPacketBufferSize];
    int replyInterface = 0;
    for (int attempt = 1;; ++attempt) {
        if (m_pObserver != nullptr) {
            m_pObserver->WaitingForRequest(attempt, kMaxReceiveAttempts);
        }
        if (ReceiveUnitRequest(socket, request, &local, attempt, m_hardwareAddress)) {
            replyInterface = socket.LastReceiveInterface();
            break;
        }
        if (attempt >= kMaxReceiveAttempts) {
            return -1;
        }
        std::this_thread::sleep_for(kAttemptPause);
    }

    std::uint32_t xid;
    std::memcpy(&xid, request + bootp::kXid, sizeof xid);
    BuildBootpReply(xid);
    int delivered = 0;
    for (int send = 0; send < kReplySends; ++send) {
        if (socket.SendBroadcast(m_packet, kBootpReplyLength, htons(kBootpClientPort), replyInterface) ==
            SOCKET_ERROR) {
            MessageBox("sendto failure");
            ReportSocketError(*this);
        } else {
            ++delivered;
        }
    }
    if (m_pObserver != nullptr) {
        m_pObserver->RepliesSent(replyInterface, delivered, kReplySends);
    }
    return 0;
}
