// A seam for tests: any call of the socket layer can be made to fail with a chosen errno.
#pragma once

enum class SocketCall { Open, SetBroadcast, EnablePacketInfo, BindToDevice, SetNonBlocking, Bind, Wait, Receive, Send };

class SocketFaults {
public:
    virtual ~SocketFaults() = default;
    // The errno this call is to fail with, or 0 to let it run.
    virtual int FailureFor(SocketCall call) = 0;
};

// nullptr restores the real calls. Not thread-safe: tests install it before the exchange runs.
void InstallSocketFaults(SocketFaults* faults);
