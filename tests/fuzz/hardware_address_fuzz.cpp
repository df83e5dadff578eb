// ParseHardwareAddress over any text: it succeeds exactly for six pairs of hexadecimal digits
// joined by colons and then stores their values; a text of the wrong shape stores nothing; a
// text of the right shape with a bad digit stores the pairs before the first bad one and no
// other.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "fuzz_target.h"
#include "unit/parameters_dlg.h"

namespace {

constexpr std::uint8_t kUntouched = 0xA5;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool HasShape(const std::string& text) {
    if (text.size() != 17) {
        return false;
    }
    for (std::size_t i = 2; i < 17; i += 3) {
        if (text[i] != ':') {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CParametersDlg unit;
    std::memset(unit.m_hardwareAddress, kUntouched, sizeof unit.m_hardwareAddress);
    const int result = unit.ParseHardwareAddress(text);

    // How many leading pairs are good, each read by the C library.
    int goodPairs = 0;
    std::uint8_t values[kHardwareAddressLength] = {};
    if (HasShape(text)) {
        while (goodPairs < kHardwareAddressLength && IsHexDigit(text[3 * goodPairs]) &&
               IsHexDigit(text[3 * goodPairs + 1])) {
            values[goodPairs] =
                static_cast<std::uint8_t>(std::stoul(text.substr(3 * static_cast<std::size_t>(goodPairs), 2), nullptr, 16));
            ++goodPairs;
        }
    }
    FUZZ_CHECK(result == (goodPairs == kHardwareAddressLength ? 0 : -1));
    for (int k = 0; k < kHardwareAddressLength; ++k) {
        FUZZ_CHECK(unit.m_hardwareAddress[k] == (k < goodPairs ? values[k] : kUntouched));
    }
    // The converted addresses are not the hardware parser's.
    FUZZ_CHECK((unit.m_ipAddress | unit.m_subnetMask | unit.m_gateway) == 0);
    return 0;
}
