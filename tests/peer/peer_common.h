// What every mode of the test peer shares: a socket owner, the parsing of option values, a bounded
// receive, and the one-line text form in which the peer prints what it received.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
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

// Option values. Each returns false for a text that is not wholly a value in range.
bool ParseNumber(const char* text, long minimum, long maximum, long& value);
bool ParseHex32(const char* text, std::uint32_t& value);
bool ParseHardwareAddress(const char* text, std::uint8_t address[6]);
bool ParseIpv4(const char* text, in_addr_t& address);

std::string Hex(const std::uint8_t* bytes, std::size_t length);

int UsageError(const char* mode, const std::string& problem, const char* usage);

}  // namespace peer
