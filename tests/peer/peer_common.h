// What every mode of the test peer shares: a socket owner, the reading of options and their
// values, a bounded receive, and the one-line text form in which the peer prints what it
// received; and what the two BOOTP client modes (bootp, flood) share: the request, the server's
// broadcast address and the capture of the replies.
#pragma once

#include <getopt.h>
#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace peer {

inline constexpr int kExitDone = 0;
inline constexpr int kExitShort = 1;   // fewer answers or replies arrived than were asked for
inline constexpr int kExitUsage = 2;
inline constexpr int kExitSocket = 3;  // a socket call failed; the reason is on standard error

// Every wait of the peer ends by itself: no option may ask for more than this.
inline constexpr long kMaxWaitMilliseconds = 120000;

using Clock = std::chrono::steady_clock;

class Socket {
public:
    Socket() = default;
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // A UDP socket, optionally bound to one interface, then to 0.0.0.0:port. It reports, for each
    // datagram received, the interface and the destination address it came with.
    bool OpenUdp(const std::string& device, int port, bool broadcast);
    int Handle() const { return m_handle; }

private:
    int m_handle = -1;
};

struct Datagram {
    std::vector<std::uint8_t> data;  // the whole datagram, however long
    sockaddr_in from{};
    in_addr destination{};  // the IP header's destination
    int interfaceIndex = 0;
};

// Takes the next datagram, waiting at most until the deadline: 1, 0 when none came, -1 on failure.
int ReceiveUntil(int handle, Clock::time_point deadline, Datagram& datagram);

// Prints "<word> <n> from A:P to A:P on IFACE length L HEX" on standard output.
void PrintDatagram(const char* word, int number, const Datagram& datagram, int localPort);

// Reports a failed socket call on standard error and returns kExitSocket.
int SocketFailure(const char* mode, const char* call);

// Reads a mode's options (from argv[1] on) with getopt_long and `table`: `take` stores the
// value of the option with `code`, whose text is in optarg, and returns false for a bad one.
// Returns kExitDone when every argument was an option taken; else reports the unknown option, the
// bad value or the argument left over with the usage, and returns kExitUsage.
int ParseOptions(const char* mode, const char* usage, int argc, char** argv, const option* table,
                 const std::function<bool(int code)>& take);

// Option values. Each returns false for a text that is not wholly a value in range.
bool ParseNumber(const char* text, long minimum, long maximum, long& value);
// Eight hex digits, stored in wire order (the first two digits in xid[0]).
bool ParseXid(const char* text, std::uint8_t xid[4]);
bool ParseHardwareAddress(const char* text, std::uint8_t address[6]);
bool ParseIpv4(const char* text, in_addr_t& address);

std::string Hex(const std::uint8_t* bytes, std::size_t length);

int UsageError(const char* mode, const std::string& problem, const char* usage);

// The BOOTP client modes. A request goes to the server's port from the client's, where the
// replies come back.
inline constexpr int kServerPort = 67;
inline constexpr int kClientPort = 68;
inline constexpr std::size_t kRequestLength = 300;  // the BOOTP layout, vendor area included
inline constexpr std::size_t kMaxRequestLength = 1500;
inline constexpr std::size_t kXid = 4;     // offset of the transaction id
inline constexpr std::size_t kChaddr = 28;  // offset of the client hardware address
inline constexpr std::size_t kHardwareLength = 6;
inline constexpr long kMaxRequests = 1000;  // a mode sends no more than this

struct BootpRequest {
    std::uint8_t hardware[kHardwareLength] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    std::uint8_t xid[4] = {0x12, 0x34, 0x56, 0x78};
    std::size_t length = kRequestLength;
    std::uint8_t op = 1;  // BOOTREQUEST
    std::uint16_t flags = 0;
    in_addr_t ciaddr = 0;
    in_addr_t giaddr = 0;
    bool filled = false;  // every byte but xid and chaddr is `fill`, no BOOTP layout
    std::uint8_t fill = 0;
};

// The request's `length` bytes: the BOOTP layout cut to that length, or past 300 bytes followed
// by bytes that count up from 0 (byte 300 is 0x00, 301 is 0x01, ...).
std::vector<std::uint8_t> BuildRequest(const BootpRequest& request);

// 255.255.255.255, the server's port.
sockaddr_in ServerBroadcast();

// Prints each datagram that reaches `handle` as "reply N ...", until `replies` have come (0: no
// limit) or `waitMs` have passed; `captured` counts them. Returns kExitDone when the replies came
// (or `replies` is 0), kExitShort when fewer did, kExitSocket, reported, when a receive failed.
int CaptureReplies(const char* mode, int handle, long waitMs, long replies, int& captured);

}  // namespace peer
