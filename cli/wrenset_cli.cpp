// wrenset-cli: the parameters dialog's Go handler and the two exchanges, driven from the
// command line. Every message box becomes one line on standard error, except the probe's
// verdict, which goes alone to standard output.
#include <getopt.h>
#include <net/if.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "framework/scripted/scripted.h"
#include "net/bootp_exchange.h"
#include "net/status_probe.h"
#include "net/winsock.h"
#include "unit/parameters_dlg.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr char kVersionText[] = "Wrenset        Version  2.0";

constexpr char kUsage[] =
    "Usage:\n"
    "  wrenset-cli configure --ip ADDRESS --mask MASK --gateway GATEWAY --hw HARDWARE [--interface IFACE]\n"
    "  wrenset-cli verify --ip ADDRESS [--community COMMUNITY]\n"
    "  wrenset-cli --help | --version\n"
    "\n"
    "configure  waits on UDP port 67 for the BOOTP request of the unit whose hardware address\n"
    "           is HARDWARE (six hex pairs joined by colons) and answers it with ADDRESS, MASK and\n"
    "           GATEWAY, broadcast five times to port 68. Up to 101 waits of 100 seconds each;\n"
    "           Ctrl+C stops early. Needs root or the capability cap_net_bind_service.\n"
    "           --interface listens and replies on that interface only.\n"
    "verify     sends one SNMPv1 GetRequest from UDP port 10001 to port 161 of ADDRESS and, two\n"
    "           seconds later, reports whether any answer has arrived. COMMUNITY is six printable\n"
    "           ASCII characters (default \"public\").\n"
    "\n"
    "Exit status: 0 success (a reply sent; the unit active), 1 the operation failed (no reply\n"
    "sent, a socket step failed; the unit not active), 2 a usage error or a rejected setting.\n";

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "wrenset-cli: %s\n%s", problem.c_str(), kUsage);
    return kExitUsage;
}

// Prints each message box as a line and remembers the last step that failed, for the hints.
class MessagePrinter {
public:
    MessagePrinter() {
        scripted::SetMessageSink([this](const scripted::ShownMessage& message) { Print(message); });
    }
    ~MessagePrinter() { scripted::SetMessageSink(nullptr); }
    MessagePrinter(const MessagePrinter&) = delete;
    MessagePrinter& operator=(const MessagePrinter&) = delete;

    bool BindFailed() const { return m_bindFailed; }
    bool UnitActive() const { return m_unitActive; }

private:
    void Print(const scripted::ShownMessage& message) {
        const bool verdict = message.text == kUnitActiveText || message.text == kUnitNotActiveText;
        std::fprintf(verdict ? stdout : stderr, "%s\n", message.text.c_str());
        std::fflush(verdict ? stdout : stderr);
        m_unitActive = m_unitActive || message.text == kUnitActiveText;
        m_bindFailed = m_bindFailed || message.text == "Bind error";
    }

    bool m_bindFailed = false;
    bool m_unitActive = false;
};

void PrintBindHint(int port) {
    const int error = WSAGetLastError();
    if (error == WSAEACCES) {
        std::fprintf(stderr,
                     "wrenset-cli: binding UDP port %d needs root or the capability cap_net_bind_service\n",
                     port);
    } else if (error == WSAEADDRINUSE) {
        std::fprintf(stderr, "wrenset-cli: another program holds UDP port %d%s\n", port,
                     port == kBootpServerPort ? ", often a DHCP server" : "");
    }
}

std::string HardwareAddressText(const std::uint8_t* address) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", address[0], address[1], address[2],
                  address[3], address[4], address[5]);
    return text;
}

std::string InterfaceName(int index) {
    char name[IF_NAMESIZE] = {};
    if (index > 0 && ::if_indextoname(static_cast<unsigned>(index), name) != nullptr) {
        return name;
    }
    return "the interface the routing table chose";
}

class ProgressPrinter : public ExchangeObserver {
public:
    explicit ProgressPrinter(const CParametersDlg& unit) : m_unit(unit) {}

    void WaitingForRequest(int attempt, int maxAttempts) override {
        std::fprintf(stderr, "Waiting for the BOOTP request of %s on UDP port %d%s%s (attempt %d of %d)\n",
                     HardwareAddressText(m_unit.m_hardwareAddress).c_str(), kBootpServerPort,
                     m_unit.m_strInterface.empty() ? "" : ", interface ", m_unit.m_strInterface.c_str(), attempt,
                     maxAttempts);
    }

    void RepliesSent(int interfaceIndex, int sendsDelivered, int sendsTried) override {
        m_sendsDelivered = sendsDelivered;
        std::fprintf(stderr, "Reply sent to 255.255.255.255 port %d via %s: %d of %d sends went out\n",
                     kBootpClientPort, InterfaceName(interfaceIndex).c_str(), sendsDelivered, sendsTried);
    }

    int SendsDelivered() const { return m_sendsDelivered; }

private:
    const CParametersDlg& m_unit;
    int m_sendsDelivered = 0;
};

struct Options {
    std::optional<std::string> ip, mask, gateway, hardware, interfaceName, community;
};

std::optional<Options> ParseOptions(int argc, char** argv, bool configure, std::string& problem) {
    enum { kIp = 1, kMask, kGateway, kHardware, kInterface, kCommunity };
    const option configureOptions[] = {{"ip", required_argument, nullptr, kIp},
                                       {"mask", required_argument, nullptr, kMask},
                                       {"gateway", required_argument, nullptr, kGateway},
                                       {"hw", required_argument, nullptr, kHardware},
                                       {"interface", required_argument, nullptr, kInterface},
                                       {nullptr, 0, nullptr, 0}};
    const option verifyOptions[] = {{"ip", required_argument, nullptr, kIp},
                                    {"community", required_argument, nullptr, kCommunity},
                                    {nullptr, 0, nullptr, 0}};
    Options options;
    opterr = 0;
    optind = 1;
    int code;
    while ((code = getopt_long(argc, argv, "+", configure ? configureOptions : verifyOptions, nullptr)) != -1) {
        switch (code) {
            case kIp: options.ip = optarg; break;
            case kMask: options.mask = optarg; break;
            case kGateway: options.gateway = optarg; break;
            case kHardware: options.hardware = optarg; break;
            case kInterface: options.interfaceName = optarg; break;
            case kCommunity: options.community = optarg; break;
            default:
                problem = std::string("unknown or incomplete option '") + argv[optind - 1] + "'";
                return std::nullopt;
        }
    }
    if (optind < argc) {
        problem = std::string("unexpected argument '") + argv[optind] + "'";
        return std::nullopt;
    }
    return options;
}

int Configure(int argc, char** argv) {
    std::string problem;
    std::optional<Options> options = ParseOptions(argc, argv, true, problem);
    if (!options) {
        return UsageError(problem);
    }
    if (!options->ip || !options->mask || !options->gateway || !options->hardware) {
        return UsageError("configure needs --ip, --mask, --gateway and --hw");
    }
    CParametersDlg unit;
    if (options->interfaceName) {
        if (options->interfaceName->empty() || options->interfaceName->size() >= IF_NAMESIZE ||
            ::if_nametoindex(options->interfaceName->c_str()) == 0) {
            return UsageError("no such interface '" + *options->interfaceName + "'");
        }
        unit.m_strInterface = *options->interfaceName;
    }

    MessagePrinter printer;
    // One press of Go over the four typed fields; a rejected field leaves the dialog open, and
    // the script then closes it with Cancel.
    scripted::QueueShowing(IDD_PARAMETERS, {{{IDC_IP_ADDRESS, *options->ip},
                                             {IDC_SUBNET_MASK, *options->mask},
                                             {IDC_DEFAULT_GATEWAY, *options->gateway},
                                             {IDC_HARDWARE_ADDRESS, *options->hardware}},
                                            {IDOK}});
    unit.DoModal();
    if (unit.m_bAccepted == 0) {
        return kExitUsage;
    }
    ProgressPrinter progress(unit);
    unit.m_pObserver = &progress;
    const int result = unit.ConfigureUnit();
    if (printer.BindFailed()) {
        PrintBindHint(kBootpServerPort);
    }
    // Running out of attempts is silent, as in the desktop program; the last progress line
    // already said it was the last attempt.
    if (result != 0) {
        return kExitFailed;
    }
    return progress.SendsDelivered() > 0 ? kExitSuccess : kExitFailed;
}

bool IsSixAsciiCharacters(const std::string& text) {
    if (text.size() != kCommunityLength) {
        return false;
    }
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

int Verify(int argc, char** argv) {
    std::string problem;
    std::optional<Options> options = ParseOptions(argc, argv, false, problem);
    if (!options) {
        return UsageError(problem);
    }
    if (!options->ip) {
        return UsageError("verify needs --ip");
    }
    CParametersDlg unit;
    if (options->community) {
        if (!IsSixAsciiCharacters(*options->community)) {
            return UsageError("the community must be exactly six printable ASCII characters");
        }
        unit.m_strCommunity = *options->community;
    }
    MessagePrinter printer;
    // The address goes through the same field limit and conversion as the dialog's.
    const std::string address = options->ip->substr(0, kFieldTextLimit - 1);
    if (unit.ParseDottedAddress(address, IDC_IP_ADDRESS) != 0) {
        unit.MessageBox("Invalid IP Address");
        return kExitUsage;
    }
    if (unit.SendStatusProbe() != 0) {
        if (printer.BindFailed()) {
            PrintBindHint(kProbeLocalPort);
        }
        return kExitFailed;
    }
    std::this_thread::sleep_for(kProbePause);
    unit.AwaitStatusReply();
    return printer.UnitActive() ? kExitSuccess : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return UsageError("no command given");
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return kExitSuccess;
    }
    if (command == "--version") {
        std::puts(kVersionText);
        return kExitSuccess;
    }
    if (command == "configure") {
        return Configure(argc - 1, argv + 1);
    }
    if (command == "verify") {
        return Verify(argc - 1, argv + 1);
    }
    return UsageError("unknown command '" + command + "'");
}
