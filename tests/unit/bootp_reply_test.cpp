#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/bootp_exchange.h"
#include "unit/parameters_dlg.h"

namespace {

// The unit 12:34:56:78:9A:BC gets 192.0.2.50 / 255.255.255.0 via 192.0.2.1, for the request
// whose xid bytes are DE AD BE EF.
std::vector<std::uint8_t> ExpectedReply() {
    std::vector<std::uint8_t> reply(300, 0);
    const std::uint8_t head[] = {
        0x02,                    //   0 op: BOOTREPLY
        0x01,                    //   1 htype: Ethernet
        0x06,                    //   2 hlen
        0x00,                    //   3 hops
        0xDE, 0xAD, 0xBE, 0xEF,  //   4 xid, as the request had it
        0x64, 0x00,              //   8 secs: 0x64 first
        0x00, 0x00,              //  10 flags
        0, 0, 0, 0,              //  12 ciaddr
        192, 0, 2, 50,           //  16 yiaddr
        0, 0, 0, 0,              //  20 siaddr
        0, 0, 0, 0,              //  24 giaddr
        0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC,  // 28 chaddr; 34..107 rest of chaddr, sname: zero
    };
    std::memcpy(reply.data(), head, sizeof head);
    const std::uint8_t vendor[] = {
        99, 130, 83, 99,       // 236 magic cookie
        1, 4, 255, 255, 255, 0,  // 240 subnet mask option
        3, 4, 192, 0, 2, 1,      // 246 router option
        255,                     // 252 end; 253..299 zero
    };
    std::memcpy(reply.data() + 236, vendor, sizeof vendor);
    return reply;
}

TEST(BuildBootpReply, WritesTheWholeReplyInWireOrder) {
    CParametersDlg unit;
    ASSERT_EQ(unit.ParseDottedAddress("192.0.2.50", IDC_IP_ADDRESS), 0);
    ASSERT_EQ(unit.ParseDottedAddress("255.255.255.0", IDC_SUBNET_MASK), 0);
    ASSERT_EQ(unit.ParseDottedAddress("192.0.2.1", IDC_DEFAULT_GATEWAY), 0);
    ASSERT_EQ(unit.ParseHardwareAddress("12:34:56:78:9a:bc"), 0);
    std::memset(unit.m_packet, 0xEE, sizeof unit.m_packet);  // nothing of an earlier packet may survive

    const std::uint8_t xidBytes[] = {0xDE, 0xAD, 0xBE, 0xEF};
    std::uint32_t xid;
    std::memcpy(&xid, xidBytes, 4);
    EXPECT_EQ(unit.BuildBootpReply(xid), 0);

    const std::vector<std::uint8_t> built(unit.m_packet, unit.m_packet + kBootpReplyLength);
    const std::vector<std::uint8_t> expected = ExpectedReply();
    for (std::size_t offset = 0; offset < expected.size(); ++offset) {
        EXPECT_EQ(built[offset], expected[offset]) << "offset " << offset;
    }
    EXPECT_EQ(kBootpReplyLength, 300);
}

}  // namespace
