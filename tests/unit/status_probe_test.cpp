#include <gtest/gtest.h>

#include <cstring>

#include "net/status_probe.h"
#include "unit/parameters_dlg.h"

namespace {

TEST(BuildStatusProbe, WritesTheFortyFourByteGetRequestAndNothingBeyond) {
    const std::uint8_t expected[kStatusProbeLength] = {
        0x30, 0x2A,                               //  0 SEQUENCE, 42
        0x02, 0x01, 0x00,                         //  2 version: SNMPv1
        0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c',  //  5 community
        0xA0, 0x1D,                               // 13 GetRequest-PDU, 29
        0x02, 0x04, 0x4C, 0xED, 0x2D, 0x58,       // 15 request-id
        0x02, 0x01, 0x00,                         // 21 error-status
        0x02, 0x01, 0x00,                         // 24 error-index
        0x30, 0x0F,                               // 27 variable bindings, 15
        0x30, 0x0D,                               // 29 one binding, 13
        0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x02, 0x01, 0x00,  // 31 ifNumber.0
        0x02, 0x01, 0x01,                         // 41 INTEGER 1
    };
    CParametersDlg unit;
    std::memset(unit.m_packet, 0xEE, sizeof unit.m_packet);
    unit.BuildStatusProbe();
    for (int offset = 0; offset < kStatusProbeLength; ++offset) {
        EXPECT_EQ(unit.m_packet[offset], expected[offset]) << "offset " << offset;
    }
    for (int offset = kStatusProbeLength; offset < kPacketBufferSize; ++offset) {
        ASSERT_EQ(unit.m_packet[offset], 0xEE) << "offset " << offset;
    }
}

TEST(BuildStatusProbe, WritesTheChosenCommunityByteByByte) {
    CParametersDlg unit;
    unit.m_strCommunity = "s3cret";
    unit.BuildStatusProbe();
    EXPECT_EQ(std::memcmp(unit.m_packet + snmp_probe::kCommunityValue, "s3cret", 6), 0);
    EXPECT_EQ(unit.m_packet[snmp_probe::kCommunity + 1], 6);
}

}  // namespace
