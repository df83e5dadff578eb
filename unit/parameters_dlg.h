// The parameters dialog object, which is also the state of the one unit being configured: the
// four settings as typed and converted, the accepted flag, the verification socket with its
// addresses, and the packet buffer of the two exchanges.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>

#include "framework/dialog.h"
#include "net/status_probe.h"
#include "net/udp_socket.h"
#include "res/resource.h"

inline constexpr int kPacketBufferSize = 300;
inline constexpr int kHardwareAddressLength = 6;
// Fields are read with this limit, terminator included, so a typed text holds at most 255 characters.
inline constexpr int kFieldTextLimit = 256;

// Told how a configuration exchange is getting on; the command-line front prints it.
class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;
    virtual void WaitingForRequest(int attempt, int maxAttempts) = 0;
    virtual void RepliesSent(int interfaceIndex, int sendsDelivered, int sendsTried) = 0;
};

class CParametersDlg : public CDialog {
public:
    CParametersDlg();

    // Text conversions.
    int ParseDottedAddress(std::string text, int controlId);
    int HexDigitValue(char digit, std::uint8_t* value);
    int ParseHardwareAddress(std::string text);

    // The configuration exchange.
    int ConfigureUnit();
    int BuildBootpReply(std::uint32_t xid);

    // The status probe.
    int SendStatusProbe();
    void BuildStatusProbe();
    void AwaitStatusReply();

    // The dialog's commands.
    void OnGo();
    void OnCancel() override;

    BOOL m_bAccepted = 0;
    sockaddr_in m_localAddr{};
    sockaddr_in m_unitAddr{};
    sockaddr_in m_replyFrom{};
    UdpSocket m_socket;
    std::string m_strIpAddress;
    std::string m_strSubnetMask;
    std::string m_strGateway;
    std::string m_strHardwareAddress;
    in_addr_t m_ipAddress = 0;
    in_addr_t m_subnetMask = 0;
    in_addr_t m_gateway = 0;
    std::uint8_t m_hardwareAddress[kHardwareAddressLength] = {};
    std::uint8_t m_packet[kPacketBufferSize] = {};

    // Set only by the command-line front: the one interface the exchange listens and replies
    // on (empty for all), who hears of its progress, and the probe's read community (six
    // ASCII characters; the front checks that before setting it).
    std::string m_strInterface;
    ExchangeObserver* m_pObserver = nullptr;
    std::string m_strCommunity = kProbeCommunity;

protected:
    static const MessageMap& ClassMessageMap();
    const MessageMap& GetMessageMap() const override { return ClassMessageMap(); }
};
