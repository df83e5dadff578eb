// One receive attempt of the configuration exchange, over a real socket bound to port 67 on a
// private loopback: a datagram of any length from 0 to 1,500 bytes, or a failing receive. The
// match decision is checked against the datagram as sent, the buffer against what the datagram
// could have written, and the diagnostic line against the receive's outcome.
//
// Input: byte 0 chooses how the attempt goes and its number; the rest is the datagram.
#include <arpa/inet.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "fuzz_target.h"
#include "net/bootp_exchange.h"
#include "net/socket_faults.h"
#include "private_loopback.h"
#include "unit/parameters_dlg.h"

namespace {

constexpr std::size_t kMaxDatagram = 1500;
constexpr std::uint8_t kHardwareAddress[kHardwareAddressLength] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
constexpr std::uint8_t kUnwritten = 0xEE;

enum class Attempt {
    Received,          // the datagram arrives and is taken
    ReceiveFails,      // the datagram arrives, but the receive call fails with a chosen error
    NothingArrives,    // the wait ends (interrupted) with nothing queued
};

// Errors a receive can meet; EMSGSIZE among them, though here it brings no bytes.
constexpr int kReceiveErrors[] = {ECONNREFUSED, EINTR, ENOMEM, ENOBUFS, EMSGSIZE, EBADF};

class ChosenFaults : public SocketFaults {
public:
    int m_wait = 0;
    int m_receive = 0;
    int FailureFor(SocketCall call) override {
        return call == SocketCall::Wait ? m_wait : call == SocketCall::Receive ? m_receive : 0;
    }
};

struct Harness {
    Harness() {
        EnterPrivateLoopback();
        captured = new CapturedStdout;
        peer = new LoopbackPeer;
        socket = new UdpSocket;
        FUZZ_CHECK(socket->Open() == 0 && socket->SetBroadcast() == 0 && socket->EnablePacketInfo() == 0);
        FUZZ_CHECK(socket->Bind(MakeSocketAddress(htonl(INADDR_ANY), htons(kBootpServerPort))) == 0);
    }
    CapturedStdout* captured;
    LoopbackPeer* peer;
    UdpSocket* socket;  // the exchange's socket, kept for the whole run
};

Harness* g_harness = nullptr;

std::string DiagnosticLine(int attempt, int error) {
    return "recvfrom[" + std::to_string(attempt) + "]: " + std::strerror(error) + "\n";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_harness = new Harness;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Attempt how = data[0] % 4 == 2 ? Attempt::ReceiveFails
                        : data[0] % 4 == 3 ? Attempt::NothingArrives
                                           : Attempt::Received;
    const int receiveError = kReceiveErrors[(data[0] / 4) % std::size(kReceiveErrors)];
    const int attempt = 1 + data[0] / 16 % 101;  // (the 101 attempts, roughly evenly)
    const std::uint8_t* datagram = data + 1;
    const std::size_t length = std::min(size - 1, kMaxDatagram);
    Harness& h = *g_harness;

    ChosenFaults faults;
    if (how != Attempt::NothingArrives) {
        h.peer->SendTo(kBootpServerPort, datagram, length);
    }
    if (how == Attempt::ReceiveFails) {
        faults.m_receive = receiveError;
    } else if (how == Attempt::NothingArrives) {
        faults.m_wait = EINTR;
    }
    // An earlier request for this unit may be left in the buffer: a decision that read bytes
    // this attempt did not write would see a match.
    std::uint8_t request[kPacketBufferSize];
    std::memset(request, kUnwritten, sizeof request);
    std::memcpy(request + bootp::kChaddr, kHardwareAddress, sizeof kHardwareAddress);
    std::uint8_t before[kPacketBufferSize];
    std::memcpy(before, request, sizeof request);
    sockaddr_in from{};

    InstallSocketFaults(&faults);
    const bool matched = ReceiveUnitRequest(*h.socket, request, &from, attempt, kHardwareAddress);
    InstallSocketFaults(nullptr);
    const std::string printed = h.captured->Take();

    const bool received = how == Attempt::Received;
    const bool expectedMatch = received && length >= bootp::kChaddr + kHardwareAddressLength &&
                               std::memcmp(datagram + bootp::kChaddr, kHardwareAddress, kHardwareAddressLength) == 0;
    FUZZ_CHECK(matched == expectedMatch);

    const std::size_t written = received ? std::min(length, std::size_t{kPacketBufferSize}) : 0;
    FUZZ_CHECK(std::memcmp(request, datagram, written) == 0);
    FUZZ_CHECK(std::memcmp(request + written, before + written, kPacketBufferSize - written) == 0);

    const std::string expectedLine = how == Attempt::ReceiveFails    ? DiagnosticLine(attempt, receiveError)
                                     : how == Attempt::NothingArrives ? DiagnosticLine(attempt, EAGAIN)
                                     : length > kPacketBufferSize     ? DiagnosticLine(attempt, EMSGSIZE)
                                                                      : std::string();
    FUZZ_CHECK(printed == expectedLine);
    if (received) {
        FUZZ_CHECK(from.sin_addr.s_addr == htonl(INADDR_LOOPBACK));
    }

    if (how == Attempt::ReceiveFails) {
        // The datagram is still queued: take it, so that the next input starts with none.
        std::uint8_t drain[kPacketBufferSize];
        h.socket->ReceiveFrom(drain, sizeof drain, &from);
        h.captured->Take();
    }
    return 0;
}
