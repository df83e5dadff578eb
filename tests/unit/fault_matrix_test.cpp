// Every set-up call of both exchanges, made to fail: the step's message, then the error's name,
// and every descriptor released.
#include <arpa/inet.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include "net/bootp_exchange.h"
#include "net/socket_faults.h"
#include "private_network.h"
#include "scripted_fixture.h"
#include "unit/parameters_dlg.h"

namespace {

using Strings = std::vector<std::string>;

int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) {
            ++count;
        }
        closedir(dir);
    }
    return count;
}

// Fails the chosen call with the chosen errno, every time it is made.
class FailOne : public SocketFaults {
public:
    FailOne(SocketCall call, int error) : m_call(call), m_error(error) { InstallSocketFaults(this); }
    ~FailOne() override { InstallSocketFaults(nullptr); }
    int FailureFor(SocketCall call) override { return call == m_call ? m_error : 0; }

private:
    SocketCall m_call;
    int m_error;
};

struct FaultRow {
    SocketCall call;
    int error;
    Strings messages;
};

TEST(ConfigureUnit, EachFailingSetUpCallReportsStepAndErrorAndReleasesEverything) {
    const FaultRow rows[] = {
        {SocketCall::Open, EMFILE, {"Invalid Socket returned", "WSAEMFILE:"}},
        {SocketCall::Open, EAFNOSUPPORT, {"Invalid Socket returned", "WSAEAFNOSUPPORT:"}},
        {SocketCall::SetBroadcast, EACCES, {"Setting socket options failed", "WSAEACCES:"}},
        {SocketCall::EnablePacketInfo, ENOPROTOOPT, {"Setting socket options failed", "Unrecognized Error"}},
        {SocketCall::Bind, EADDRINUSE, {"Bind error", "Unrecognized Error"}},
        {SocketCall::Bind, EACCES, {"Bind error", "WSAEACCES:"}},
        {SocketCall::Bind, EADDRNOTAVAIL, {"Bind error", "WSAEADDRNOTAVAIL:"}},
    };
    for (const FaultRow& row : rows) {
        RecordedMessages recorded;
        CParametersDlg unit;
        const int before = OpenDescriptors();
        FailOne fault(row.call, row.error);
        EXPECT_EQ(unit.ConfigureUnit(), -1);
        EXPECT_EQ(recorded.Texts(), row.messages) << static_cast<int>(row.call);
        EXPECT_EQ(OpenDescriptors(), before) << static_cast<int>(row.call);
        for (const scripted::ShownMessage& m : recorded.All()) {
            EXPECT_EQ(m.ownerTemplateId, 0);
            EXPECT_EQ(m.title, "wrenset_unit_tests");
        }
    }
}

TEST(ConfigureUnit, AFailingInterfaceChoiceIsASocketOptionStep) {
    RecordedMessages recorded;
    CParametersDlg unit;
    unit.m_strInterface = "veth-test0";
    FailOne fault(SocketCall::BindToDevice, ENODEV);
    const int before = OpenDescriptors();
    EXPECT_EQ(unit.ConfigureUnit(), -1);
    EXPECT_EQ(recorded.Texts(), (Strings{"Setting socket options failed", "Unrecognized Error"}));
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(SendStatusProbe, EachFailingStepReportsStepAndErrorAndClosesTheSocket) {
    const FaultRow rows[] = {
        {SocketCall::Open, ENFILE, {"Invalid Socket returned", "WSAEMFILE:"}},
        {SocketCall::SetBroadcast, EPERM, {"Setting socket options failed", "WSAEACCES:"}},
        {SocketCall::SetNonBlocking, EINVAL, {"Setting socket options failed", "Unrecognized Error"}},
        {SocketCall::Bind, EADDRINUSE, {"Bind error", "Unrecognized Error"}},
        {SocketCall::Send, ENETUNREACH, {"sendto failure", "WSAENETUNREACH:"}},
        {SocketCall::Send, ENOBUFS, {"sendto failure", "WSAENOBUFS"}},
    };
    for (const FaultRow& row : rows) {
        RecordedMessages recorded;
        CParametersDlg unit;
        ASSERT_EQ(unit.ParseDottedAddress("192.0.2.50", IDC_IP_ADDRESS), 0);
        const int before = OpenDescriptors();
        FailOne fault(row.call, row.error);
        EXPECT_EQ(unit.SendStatusProbe(), -1);
        EXPECT_EQ(recorded.Texts(), row.messages) << static_cast<int>(row.call);
        EXPECT_FALSE(unit.m_socket.IsOpen());
        EXPECT_EQ(OpenDescriptors(), before) << static_cast<int>(row.call);
    }
}

TEST(SendStatusProbe, RefusesTheUnconfiguredAndTheAllOnesAddressAsWindowsSocketsDoes) {
    // Linux would deliver 0.0.0.0 to this host's own agent, and all ones to every host.
    for (const char* typed : {"0.0.0.0", "255.255.255.255"}) {
        RecordedMessages recorded;
        CParametersDlg unit;
        unit.ParseDottedAddress(typed, IDC_IP_ADDRESS);
        const int before = OpenDescriptors();
        EXPECT_EQ(unit.SendStatusProbe(), -1);
        EXPECT_EQ(recorded.Texts(), (Strings{"sendto failure", "WSAEADDRNOTAVAIL:"})) << typed;
        EXPECT_EQ(OpenDescriptors(), before);
    }
}

// Sends the unit's request to port 67 the moment the exchange starts waiting, and fails the
// chosen sends of the reply.
class RequestThenFailSends : public SocketFaults {
public:
    explicit RequestThenFailSends(std::vector<int> failingSends) : m_failingSends(std::move(failingSends)) {
        InstallSocketFaults(this);
    }
    ~RequestThenFailSends() override { InstallSocketFaults(nullptr); }

    int FailureFor(SocketCall call) override {
        if (call == SocketCall::Wait && !m_requestSent) {
            m_requestSent = true;
            SendRequest();
        }
        if (call == SocketCall::Send) {
            ++m_sends;
            for (int failing : m_failingSends) {
                if (failing == m_sends) {
                    return ENOBUFS;
                }
            }
        }
        return 0;
    }

private:
    static void SendRequest() {
        std::uint8_t request[300] = {1, 1, 6, 0, 0xCA, 0xFE, 0xF0, 0x0D};
        const std::uint8_t hardware[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
        std::memcpy(request + bootp::kChaddr, hardware, sizeof hardware);
        const int client = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in server = MakeSocketAddress(inet_addr("127.0.0.1"), htons(kBootpServerPort));
        sendto(client, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&server), sizeof server);
        close(client);
    }

    std::vector<int> m_failingSends;
    bool m_requestSent = false;
    int m_sends = 0;
};

// Needs a datagram to answer, so it runs on the loopback of a network of its own.
bool AnswerWithTwoOfFiveSendsFailing() {
    RecordedMessages recorded;
    CParametersDlg unit;
    unit.ParseHardwareAddress("12:34:56:78:9A:BC");
    const int before = OpenDescriptors();
    int result;
    {
        RequestThenFailSends faults({2, 4});
        result = unit.ConfigureUnit();
    }
    const bool ok = result == 0 &&
                    recorded.Texts() == Strings{"sendto failure", "WSAENOBUFS", "sendto failure", "WSAENOBUFS"} &&
                    OpenDescriptors() == before && unit.m_packet[bootp::kXid] == 0xCA &&
                    unit.m_packet[bootp::kXid + 3] == 0x0D;
    if (!ok) {
        std::fprintf(stderr, "result %d, %zu messages\n", result, recorded.Texts().size());
    }
    return ok;
}

TEST(ConfigureUnit, FailedSendsAreEachReportedAndTheRestStillGoOut) {
    EXPECT_IN_PRIVATE_NETWORK(AnswerWithTwoOfFiveSendsFailing);
}

}  // namespace
