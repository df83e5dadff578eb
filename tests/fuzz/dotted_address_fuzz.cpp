// ParseDottedAddress over any text and any control id: the stored value is what the socket
// library makes of the text (cut at the field limit and at a NUL, as the field read would leave
// it), it lands in the one field that the id names and nowhere else, and the result is -1
// exactly when the value is all ones.
#include <arpa/inet.h>

#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "fuzz_target.h"
#include "unit/parameters_dlg.h"

namespace {

// The ids the Go handler passes, and two it never does.
constexpr int kControlIds[] = {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_DEFAULT_GATEWAY, IDC_HARDWARE_ADDRESS, 0};

// Distinct values that no conversion in this run is likely to produce all three of.
constexpr in_addr_t kUntouchedIp = 0x0A0B0C0D;
constexpr in_addr_t kUntouchedMask = 0x1A1B1C1D;
constexpr in_addr_t kUntouchedGateway = 0x2A2B2C2D;

// The dotted forms as the C library reads them: inet_aton, with its short forms and octal and
// hexadecimal parts; a text it rejects gives the all-ones value.
in_addr_t Expected(const std::string& text) {
    std::string seen = text.substr(0, text.find('\0'));
    seen = seen.substr(0, kFieldTextLimit - 1);
    in_addr parsed{};
    return ::inet_aton(seen.c_str(), &parsed) != 0 ? parsed.s_addr : INADDR_NONE;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int controlId = kControlIds[data[0] % std::size(kControlIds)];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    CParametersDlg unit;
    unit.m_ipAddress = kUntouchedIp;
    unit.m_subnetMask = kUntouchedMask;
    unit.m_gateway = kUntouchedGateway;
    const int result = unit.ParseDottedAddress(text, controlId);

    const in_addr_t expected = Expected(text);
    FUZZ_CHECK(result == (expected == INADDR_NONE ? -1 : 0));
    FUZZ_CHECK(unit.m_ipAddress == (controlId == IDC_IP_ADDRESS ? expected : kUntouchedIp));
    FUZZ_CHECK(unit.m_subnetMask == (controlId == IDC_SUBNET_MASK ? expected : kUntouchedMask));
    FUZZ_CHECK(unit.m_gateway == (controlId == IDC_DEFAULT_GATEWAY ? expected : kUntouchedGateway));

    // A plain dotted quad means what it says, whatever else the library accepts.
    in_addr strict{};
    if (text.find('\0') == std::string::npos && text.size() < kFieldTextLimit &&
        ::inet_pton(AF_INET, text.c_str(), &strict) == 1) {
        FUZZ_CHECK(expected == strict.s_addr);
        FUZZ_CHECK(result == (strict.s_addr == INADDR_NONE ? -1 : 0));
    }
    // Nothing else of the unit state changes.
    for (std::uint8_t byte : unit.m_hardwareAddress) {
        FUZZ_CHECK(byte == 0);
    }
    FUZZ_CHECK(unit.m_bAccepted == 0);
    return 0;
}
