// The status probe: one SNMPv1 GetRequest to the unit, and a look, after a pause, whether any
// answer has arrived.
#pragma once

#include <chrono>
#include <cstddef>

inline constexpr int kProbeLocalPort = 10001;
inline constexpr int kSnmpPort = 161;
inline constexpr std::chrono::milliseconds kProbePause{2000};
inline constexpr int kReplyPolls = 200;
inline constexpr int kStatusProbeLength = 44;

// The read community the units answer to by default; the request's lengths hold for six characters.
inline constexpr char kProbeCommunity[] = "public";
inline constexpr std::size_t kCommunityLength = sizeof kProbeCommunity - 1;
static_assert(kCommunityLength == 6);

inline constexpr char kUnitActiveText[] = "The Unit is Active";
inline constexpr char kUnitNotActiveText[] = "The Unit is not Active";
inline constexpr char kProbeTitle[] = "Tanager";

// Request offsets.
namespace snmp_probe {
inline constexpr std::size_t kMessage = 0;
inline constexpr std::size_t kVersion = 2;
inline constexpr std::size_t kCommunity = 5;
inline constexpr std::size_t kCommunityValue = 7;
inline constexpr std::size_t kPdu = 13;
inline constexpr std::size_t kRequestId = 15;
inline constexpr std::size_t kErrorStatus = 21;
inline constexpr std::size_t kErrorIndex = 24;
inline constexpr std::size_t kBindings = 27;
inline constexpr std::size_t kBinding = 29;
inline constexpr std::size_t kName = 31;
inline constexpr std::size_t kValue = 41;
}  // namespace snmp_probe
