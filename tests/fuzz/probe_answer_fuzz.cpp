// The probe's look for an answer, over real sockets on a private loopback: the request goes
// from port 10001 to 127.0.0.1 port 161, where nothing listens, and up to four answers of any
// length from 0 to 1,500 bytes arrive on port 10001 before the look. The verdict is "Active"
// exactly when one of them is 1 to 300 bytes long; the first such answer is in the packet
// buffer; the socket is closed afterwards and no descriptor is left open.
//
// Input: a series of answers, each a two-byte length (big-endian, taken modulo 1,501) and as
// many bytes as the input still has, up to that length.
#include <arpa/inet.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/scripted/scripted.h"
#include "fuzz_check.h"
#include "fuzz_target.h"
#include "net/status_probe.h"
#include "private_loopback.h"
#include "unit/parameters_dlg.h"

namespace {

constexpr std::size_t kMaxAnswer = 1500;
constexpr std::size_t kMaxAnswers = 4;

LoopbackPeer* g_peer = nullptr;

std::vector<std::vector<std::uint8_t>> Answers(const std::uint8_t* data, std::size_t size) {
    std::vector<std::vector<std::uint8_t>> answers;
    std::size_t at = 0;
    while (answers.size() < kMaxAnswers && at + 2 <= size) {
        const std::size_t wanted = (std::size_t{data[at]} << 8 | data[at + 1]) % (kMaxAnswer + 1);
        at += 2;
        const std::size_t length = std::min(wanted, size - at);
        answers.emplace_back(data + at, data + at + length);
        at += length;
    }
    return answers;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterPrivateLoopback();
    g_peer = new LoopbackPeer;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::vector<std::uint8_t>> answers = Answers(data, size);
    std::vector<scripted::ShownMessage> shown;
    scripted::SetMessageSink([&shown](const scripted::ShownMessage& m) { shown.push_back(m); });
    const int descriptors = OpenDescriptors();

    CParametersDlg unit;
    unit.m_ipAddress = htonl(INADDR_LOOPBACK);
    FUZZ_CHECK(unit.SendStatusProbe() == 0);
    FUZZ_CHECK(shown.empty());
    for (const std::vector<std::uint8_t>& answer : answers) {
        g_peer->SendTo(kProbeLocalPort, answer.data(), answer.size());
    }
    g_peer->Settle();
    unit.AwaitStatusReply();
    scripted::SetMessageSink(nullptr);

    const std::vector<std::uint8_t>* counted = nullptr;
    for (const std::vector<std::uint8_t>& answer : answers) {
        if (!answer.empty() && answer.size() <= kPacketBufferSize) {
            counted = &answer;
            break;
        }
    }
    FUZZ_CHECK(shown.size() == 1);
    FUZZ_CHECK(shown[0].text == (counted != nullptr ? kUnitActiveText : kUnitNotActiveText));
    FUZZ_CHECK(shown[0].title == kProbeTitle);
    FUZZ_CHECK(shown[0].ownerTemplateId == 0);
    if (counted != nullptr) {
        FUZZ_CHECK(std::memcmp(unit.m_packet, counted->data(), counted->size()) == 0);
        FUZZ_CHECK(unit.m_replyFrom.sin_addr.s_addr == htonl(INADDR_LOOPBACK));
    } else {
        bool overlong = false;
        for (const std::vector<std::uint8_t>& answer : answers) {
            overlong = overlong || answer.size() > kPacketBufferSize;
        }
        if (!overlong) {
            // Nothing that arrived wrote the buffer: it holds the request as sent, and zeros.
            CParametersDlg fresh;
            fresh.BuildStatusProbe();
            FUZZ_CHECK(std::memcmp(unit.m_packet, fresh.m_packet, kPacketBufferSize) == 0);
        }
    }
    FUZZ_CHECK(!unit.m_socket.IsOpen());
    FUZZ_CHECK(OpenDescriptors() == descriptors);
    return 0;
}
