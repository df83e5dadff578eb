#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "unit/parameters_dlg.h"

namespace {

std::array<std::uint8_t, 4> Bytes(in_addr_t address) {
    std::array<std::uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address, 4);
    return bytes;
}

struct HardwareCase {
    const char* text;
    int result;
    std::array<std::uint8_t, 6> stored;  // what m_hardwareAddress holds afterwards (starts as AA..)
};

TEST(ParseHardwareAddress, AcceptsExactlySixColonSeparatedHexPairs) {
    const std::array<std::uint8_t, 6> untouched = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    const HardwareCase cases[] = {
        {"12:34:56:78:9a:BC", 0, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}},
        {"00:00:00:00:00:00", 0, {0, 0, 0, 0, 0, 0}},
        {"ff:FF:fF:Ff:aB:cd", 0, {0xFF, 0xFF, 0xFF, 0xFF, 0xAB, 0xCD}},
        {"12-34-56-78-9a-BC", -1, untouched},   // hyphens
        {"12:34:56:78:9a:BC ", -1, untouched},  // 18 characters
        {"12:34:56:78:9a:B", -1, untouched},    // 16 characters
        {" 2:34:56:78:9a:BC", -1, untouched},   // a blank in a digit position
        {"", -1, untouched},
        {"1234567890abcdefg", -1, untouched},  // right length, no separators
        // A bad digit stops the conversion; the pairs before it are already stored.
        {"12:34:56:78:9G:BC", -1, {0x12, 0x34, 0x56, 0x78, 0xAA, 0xAA}},
        {"g2:34:56:78:9a:BC", -1, untouched},
    };
    for (const HardwareCase& c : cases) {
        CParametersDlg unit;
        std::memset(unit.m_hardwareAddress, 0xAA, sizeof unit.m_hardwareAddress);
        EXPECT_EQ(unit.ParseHardwareAddress(c.text), c.result) << c.text;
        std::array<std::uint8_t, 6> stored;
        std::memcpy(stored.data(), unit.m_hardwareAddress, 6);
        EXPECT_EQ(stored, c.stored) << c.text;
    }
}

TEST(HexDigitValue, ConvertsHexDigitsAndLeavesThePlaceUntouchedOtherwise) {
    CParametersDlg unit;
    for (int c = 0; c < 256; ++c) {
        std::uint8_t value = 0x5A;
        const char digit = static_cast<char>(c);
        const int result = unit.HexDigitValue(digit, &value);
        if (c >= '0' && c <= '9') {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(value, c - '0');
        } else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(value, (c | 0x20) - 'a' + 10);
        } else {
            EXPECT_EQ(result, -1) << c;
            EXPECT_EQ(value, 0x5A) << c;
        }
    }
}

struct DottedCase {
    const char* text;
    int result;
    std::array<std::uint8_t, 4> stored;
};

TEST(ParseDottedAddress, StoresWhateverInetAddrGivesAndFailsOnAllOnes) {
    const std::array<std::uint8_t, 4> allOnes = {255, 255, 255, 255};
    const DottedCase cases[] = {
        {"192.168.1.10", 0, {192, 168, 1, 10}},
        {"192.0.2.7", 0, {192, 0, 2, 7}},
        {"255.255.255.0", 0, {255, 255, 255, 0}},
        {"0.0.0.0", 0, {0, 0, 0, 0}},
        {"255.255.255.255", -1, allOnes},  // stored, yet a failure: an all-ones mask cannot be entered
        {"300.1.1.1", -1, allOnes},
        {"abc", -1, allOnes},
        {"1.2.3.4.5", -1, allOnes},
        {"10", 0, {0, 0, 0, 10}},          // inet_addr's short forms
        {"0x7f.1", 0, {127, 0, 0, 1}},     // and its hexadecimal parts
    };
    for (const DottedCase& c : cases) {
        for (int controlId : {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_DEFAULT_GATEWAY}) {
            CParametersDlg unit;
            EXPECT_EQ(unit.ParseDottedAddress(c.text, controlId), c.result) << c.text;
            const in_addr_t stored = controlId == IDC_IP_ADDRESS    ? unit.m_ipAddress
                                     : controlId == IDC_SUBNET_MASK ? unit.m_subnetMask
                                                                    : unit.m_gateway;
            EXPECT_EQ(Bytes(stored), c.stored) << c.text << " id " << controlId;
        }
    }
}

TEST(ParseDottedAddress, StoresOnlyIntoTheFieldOfItsControlId) {
    CParametersDlg unit;
    EXPECT_EQ(unit.ParseDottedAddress("192.0.2.1", IDC_HARDWARE_ADDRESS), 0);
    EXPECT_EQ(unit.ParseDottedAddress("192.0.2.2", IDC_DEFAULT_GATEWAY), 0);
    EXPECT_EQ(unit.m_ipAddress, 0u);
    EXPECT_EQ(unit.m_subnetMask, 0u);
    EXPECT_EQ(Bytes(unit.m_gateway), (std::array<std::uint8_t, 4>{192, 0, 2, 2}));
}

TEST(ParseDottedAddress, AnOverlongTextIsCutAtTheFieldLimitNotOverrun) {
    CParametersDlg unit;
    std::string text = "192.0.2.9";
    text.append(1000, ' ');  // inet_addr accepts trailing blanks
    EXPECT_EQ(unit.ParseDottedAddress(text, IDC_IP_ADDRESS), 0);
    EXPECT_EQ(Bytes(unit.m_ipAddress), (std::array<std::uint8_t, 4>{192, 0, 2, 9}));
}

TEST(UnitState, StartsEmptyAndNotAccepted) {
    CParametersDlg unit;
    EXPECT_EQ(unit.TemplateId(), IDD_PARAMETERS);
    EXPECT_EQ(unit.m_bAccepted, 0);
    EXPECT_TRUE(unit.m_strIpAddress.empty() && unit.m_strSubnetMask.empty() && unit.m_strGateway.empty() &&
                unit.m_strHardwareAddress.empty());
    EXPECT_EQ(unit.m_ipAddress | unit.m_subnetMask | unit.m_gateway, 0u);
    for (std::uint8_t byte : unit.m_hardwareAddress) {
        EXPECT_EQ(byte, 0);
    }
    EXPECT_FALSE(unit.m_socket.IsOpen());
}

}  // namespace
