// The network fuzz targets run in a network namespace of their own with only its loopback up,
// so that every datagram they send stays inside the fuzzing process's own namespace. They also
// keep to one processor: loopback datagrams queue on that processor's backlog in the order
// sent, so a marker datagram that has arrived proves that all sent before it have arrived too.
#pragma once

#include <cstdint>
#include <string>

// Enters the namespace and pins the process; exits with 77 (skipped) where that is not allowed,
// unless CI is set, where it exits with 1.
void EnterPrivateLoopback();

// A plain socket on 127.0.0.1 for the unit's side of the exchange.
class LoopbackPeer {
public:
    LoopbackPeer();
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    void SendTo(int port, const std::uint8_t* data, std::size_t size);
    // Sends a marker to itself and waits for it: every datagram sent before has then arrived.
    void Settle();

private:
    int m_handle;
    int m_port;
};

// Standard output goes into memory from here on; Take returns what was written since the last
// call and empties it.
class CapturedStdout {
public:
    CapturedStdout();
    std::string Take();

private:
    int m_memory;
};

// How many descriptors the process holds.
int OpenDescriptors();
