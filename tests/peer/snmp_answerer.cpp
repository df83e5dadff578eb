// wrenset-snmp-answerer: a unit stand-in for the status probe's tests. It listens on UDP port 161
// of one interface and answers each request, after a chosen delay, with chosen datagrams: an SNMP
// error response built from the request, an empty datagram, or a run of bytes of a chosen length.
// It answers at most --count requests and ends after --lifetime-ms in any case, so it can never
// outlive the test that started it.
//
// Standard output: "ready" once the socket is bound, then for each datagram received
// "request N from A:P to A:161 on IFACE length L HEX" and for each datagram sent back
// "answer N length L HEX".
// Exit status: 0 when it answered --count requests, 1 when its lifetime ended first, 2 for a
// usage error, 3 when a socket call failed.
#include <arpa/inet.h>
#include <getopt.h>
#include <sys/socket.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "peer_common.h"

namespace {

constexpr const char* kMode = "snmp-answerer";
constexpr int kSnmpPort = 161;
constexpr long kMaxAnswerBytes = 65507;  // the most one UDP datagram over IPv4 can carry
constexpr long kMaxCount = 100;
constexpr std::size_t kMaxAnswers = 10;

// BER tags of an SNMPv1 message.
constexpr std::uint8_t kTagInteger = 0x02;
constexpr std::uint8_t kTagOctetString = 0x04;
constexpr std::uint8_t kTagSequence = 0x30;
constexpr std::uint8_t kTagGetRequest = 0xA0;
constexpr std::uint8_t kTagGetResponse = 0xA2;
constexpr std::uint8_t kErrorNoSuchName = 2;

constexpr char kUsage[] =
    "Usage: wrenset-snmp-answerer --device IFACE ANSWER... [--delay-ms D] [--count C] [--lifetime-ms L]\n"
    "  Answers each datagram arriving on UDP port 161 of IFACE, back to its sender, with every\n"
    "  ANSWER given (one to ten), in order:\n"
    "  --error-response  a GetResponse with error-status noSuchName (2), error-index 1, echoing\n"
    "                    the request's version, community, request-id and bindings\n"
    "  --empty           a datagram of no bytes\n"
    "  --bytes N         N bytes of 0x5A (1 to 65507)\n"
    "  --delay-ms D      wait D ms between a request and its answer (default 0)\n"
    "  --count C         answer C requests, then end (default 1, at most 100)\n"
    "  --lifetime-ms L   end after L ms whatever happened (default 10000, at most 120000)\n";

// One BER element inside a message: its tag, and where its value starts and ends.
struct Element {
    std::uint8_t tag = 0;
    std::size_t valueStart = 0;
    std::size_t end = 0;
};

// Reads the element at `at`, which must lie wholly before `limit`; short and long length forms.
std::optional<Element> ReadElement(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t limit) {
    if (at + 2 > limit) {
        return std::nullopt;
    }
    Element element;
    element.tag = bytes[at];
    std::size_t length = bytes[at + 1];
    std::size_t cursor = at + 2;
    if ((length & 0x80) != 0) {
        const std::size_t lengthBytes = length & 0x7F;
        if (lengthBytes == 0 || lengthBytes > 2 || cursor + lengthBytes > limit) {
            return std::nullopt;
        }
        length = 0;
        for (std::size_t k = 0; k < lengthBytes; ++k) {
            length = (length << 8) | bytes[cursor++];
        }
    }
    if (cursor + length > limit) {
        return std::nullopt;
    }
    element.valueStart = cursor;
    element.end = cursor + length;
    return element;
}

void AppendElement(std::vector<std::uint8_t>& out, std::uint8_t tag, const std::vector<std::uint8_t>& value) {
    out.push_back(tag);
    if (value.size() < 0x80) {
        out.push_back(static_cast<std::uint8_t>(value.size()));
    } else {
        out.push_back(0x82);
        out.push_back(static_cast<std::uint8_t>(value.size() >> 8));
        out.push_back(static_cast<std::uint8_t>(value.size() & 0xFF));
    }
    out.insert(out.end(), value.begin(), value.end());
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(to)};
}

// The error response an agent gives to a GetRequest for a name it does not know, in SNMPv1:
// the request's version, community, request-id and bindings around error-status noSuchName.
std::optional<std::vector<std::uint8_t>> ErrorResponse(const std::vector<std::uint8_t>& request) {
    const auto message = ReadElement(request, 0, request.size());
    if (!message || message->tag != kTagSequence) {
        return std::nullopt;
    }
    const auto version = ReadElement(request, message->valueStart, message->end);
    if (!version || version->tag != kTagInteger) {
        return std::nullopt;
    }
    const auto community = ReadElement(request, version->end, message->end);
    if (!community || community->tag != kTagOctetString) {
        return std::nullopt;
    }
    const auto pdu = ReadElement(request, community->end, message->end);
    if (!pdu || pdu->tag != kTagGetRequest) {
        return std::nullopt;
    }
    const auto requestId = ReadElement(request, pdu->valueStart, pdu->end);
    if (!requestId || requestId->tag != kTagInteger) {
        return std::nullopt;
    }
    const auto errorStatus = ReadElement(request, requestId->end, pdu->end);
    const auto errorIndex = errorStatus ? ReadElement(request, errorStatus->end, pdu->end) : std::nullopt;
    const auto bindings = errorIndex ? ReadElement(request, errorIndex->end, pdu->end) : std::nullopt;
    if (!bindings || bindings->tag != kTagSequence) {
        return std::nullopt;
    }

    std::vector<std::uint8_t> pduValue = Slice(request, pdu->valueStart, requestId->end);
    AppendElement(pduValue, kTagInteger, {kErrorNoSuchName});
    AppendElement(pduValue, kTagInteger, {1});
    const std::vector<std::uint8_t> bindingsElement = Slice(request, errorIndex->end, bindings->end);
    pduValue.insert(pduValue.end(), bindingsElement.begin(), bindingsElement.end());

    std::vector<std::uint8_t> messageValue = Slice(request, message->valueStart, community->end);
    AppendElement(messageValue, kTagGetResponse, pduValue);
    std::vector<std::uint8_t> response;
    AppendElement(response, kTagSequence, messageValue);
    return response;
}

enum class Kind { ErrorResponse, Empty, Bytes };

struct Answer {
    Kind kind;
    long bytes;
};

struct Options {
    std::string device;
    std::vector<Answer> answers;  // sent in this order, after the delay, for every request
    long delayMilliseconds = 0;
    long count = 1;
    long lifetimeMilliseconds = 10000;
};

// Reads the options into `options`: kExitDone, or the usage error's status, the problem reported.
int ReadOptions(int argc, char** argv, Options& options) {
    enum { kDevice = 1, kErrorResponse, kEmpty, kBytes, kDelay, kCount, kLifetime };
    const option table[] = {{"device", required_argument, nullptr, kDevice},
                            {"error-response", no_argument, nullptr, kErrorResponse},
                            {"empty", no_argument, nullptr, kEmpty},
                            {"bytes", required_argument, nullptr, kBytes},
                            {"delay-ms", required_argument, nullptr, kDelay},
                            {"count", required_argument, nullptr, kCount},
                            {"lifetime-ms", required_argument, nullptr, kLifetime},
                            {nullptr, 0, nullptr, 0}};
    const int parsed = peer::ParseOptions(kMode, kUsage, argc, argv, table, [&](int code) {
        bool valid = true;
        long bytes = 0;
        switch (code) {
            case kDevice: options.device = optarg; break;
            case kErrorResponse: options.answers.push_back({Kind::ErrorResponse, 0}); break;
            case kEmpty: options.answers.push_back({Kind::Empty, 0}); break;
            case kBytes:
                valid = peer::ParseNumber(optarg, 1, kMaxAnswerBytes, bytes);
                options.answers.push_back({Kind::Bytes, bytes});
                break;
            case kDelay:
                valid = peer::ParseNumber(optarg, 0, peer::kMaxWaitMilliseconds, options.delayMilliseconds);
                break;
            case kCount: valid = peer::ParseNumber(optarg, 1, kMaxCount, options.count); break;
            case kLifetime:
                valid = peer::ParseNumber(optarg, 1, peer::kMaxWaitMilliseconds, options.lifetimeMilliseconds);
                break;
        }
        return valid;
    });
    if (parsed != peer::kExitDone) {
        return parsed;
    }
    if (options.device.empty() || options.answers.empty() || options.answers.size() > kMaxAnswers) {
        return peer::UsageError(kMode, "needs --device and one to ten of --error-response, --empty, --bytes", kUsage);
    }
    return peer::kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const int parsed = ReadOptions(argc, argv, options);
    if (parsed != peer::kExitDone) {
        return parsed;
    }
    const auto deadline = peer::Clock::now() + std::chrono::milliseconds(options.lifetimeMilliseconds);
    peer::Socket socket;
    if (!socket.OpenUdp(options.device, kSnmpPort, false)) {
        return peer::SocketFailure(kMode, "open and bind");
    }
    std::printf("ready\n");
    std::fflush(stdout);

    for (int answered = 0; answered < options.count;) {
        peer::Datagram request;
        const int received = peer::ReceiveUntil(socket.Handle(), deadline, request);
        if (received < 0) {
            return peer::SocketFailure(kMode, "recvmsg");
        }
        if (received == 0) {
            return peer::kExitShort;
        }
        peer::PrintDatagram("request", answered + 1, request, kSnmpPort);

        std::vector<std::vector<std::uint8_t>> datagrams;
        for (const Answer& answer : options.answers) {
            switch (answer.kind) {
                case Kind::ErrorResponse: {
                    const auto response = ErrorResponse(request.data);
                    if (!response) {
                        std::printf("request %d is no GetRequest; not answered\n", answered + 1);
                        std::fflush(stdout);
                        return peer::kExitShort;
                    }
                    datagrams.push_back(*response);
                    break;
                }
                case Kind::Empty: datagrams.emplace_back(); break;
                case Kind::Bytes: datagrams.emplace_back(static_cast<std::size_t>(answer.bytes), 0x5A); break;
            }
        }
        // An answer due after the lifetime is never sent: sending it sooner would change the case.
        const auto answerAt = peer::Clock::now() + std::chrono::milliseconds(options.delayMilliseconds);
        if (answerAt > deadline) {
            return peer::kExitShort;
        }
        std::this_thread::sleep_until(answerAt);
        ++answered;
        for (const std::vector<std::uint8_t>& datagram : datagrams) {
            if (::sendto(socket.Handle(), datagram.data(), datagram.size(), 0,
                         reinterpret_cast<const sockaddr*>(&request.from), sizeof request.from) < 0) {
                return peer::SocketFailure(kMode, "sendto");
            }
            std::printf("answer %d length %zu %s\n", answered, datagram.size(),
                        peer::Hex(datagram.data(), datagram.size()).c_str());
            std::fflush(stdout);
        }
    }
    return peer::kExitDone;
}
