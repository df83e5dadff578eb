// The BOOTP configuration exchange: a one-shot server for the one unit whose hardware address
// was typed. Its constants and the reply's layout.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

class UdpSocket;

inline constexpr int kBootpServerPort = 67;
inline constexpr int kBootpClientPort = 68;
inline constexpr int kMaxReceiveAttempts = 101;
inline constexpr std::chrono::seconds kRequestWait{100};
inline constexpr std::chrono::milliseconds kAttemptPause{100};
inline constexpr int kReplySends = 5;
inline constexpr int kBootpReplyLength = 300;

// Request and reply offsets.
namespace bootp {
inline constexpr std::size_t kOp = 0;
inline constexpr std::size_t kHtype = 1;
inline constexpr std::size_t kHlen = 2;
inline constexpr std::size_t kHops = 3;
inline constexpr std::size_t kXid = 4;
inline constexpr std::size_t kSecs = 8;
inline constexpr std::size_t kFlags = 10;
inline constexpr std::size_t kCiaddr = 12;
inline constexpr std::size_t kYiaddr = 16;
inline constexpr std::size_t kSiaddr = 20;
inline constexpr std::size_t kGiaddr = 24;
inline constexpr std::size_t kChaddr = 28;
inline constexpr std::size_t kSname = 44;
inline constexpr std::size_t kFile = 108;
inline constexpr std::size_t kVendor = 236;
inline constexpr std::size_t kMaskOption = 240;
inline constexpr std::size_t kRouterOption = 246;
inline constexpr std::size_t kEndOption = 252;
}  // namespace bootp

// One receive attempt of the exchange: waits for a datagram, takes it into the request buffer
// of kPacketBufferSize bytes, writes the diagnostic line if the receive fails, and tells whether
// the datagram brought the unit's hardware address at bytes 28 to 33.
bool ReceiveUnitRequest(UdpSocket& socket, std::uint8_t* request, sockaddr_in* from, int attempt,
                        const std::uint8_t* hardwareAddress);
