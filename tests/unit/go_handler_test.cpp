#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>

#include "scripted_fixture.h"
#include "unit/parameters_dlg.h"

namespace {

using Strings = std::vector<std::string>;

struct GoCase {
    const char* name;
    const char* ip;
    const char* mask;
    const char* gateway;
    const char* hardware;
    Strings messages;
    BOOL accepted;
    int result;
    Strings fieldsRead;  // ip, hardware, gateway, mask as stored afterwards
};

TEST(OnGo, ChecksIpHardwareGatewayMaskInThatOrderAndStopsAtTheFirstBadField) {
    const GoCase cases[] = {
        {"all good", "192.0.2.50", "255.255.255.0", "192.0.2.1", "12:34:56:78:9a:bc", {}, 1, IDOK,
         {"192.0.2.50", "12:34:56:78:9a:bc", "192.0.2.1", "255.255.255.0"}},
        {"all empty", "", "", "", "", {"Invalid IP Address"}, 0, IDCANCEL, {"", "", "", ""}},
        {"bad hardware", "192.0.2.50", "bad", "bad", "12-34-56-78-9a-bc", {"Invalid Hardware Address"}, 0,
         IDCANCEL, {"192.0.2.50", "12-34-56-78-9a-bc", "", ""}},
        {"bad gateway and mask", "192.0.2.50", "300.0.0.0", "abc", "12:34:56:78:9a:bc",
         {"Invalid Default Gateway Address"}, 0, IDCANCEL, {"192.0.2.50", "12:34:56:78:9a:bc", "abc", ""}},
        {"all-ones mask", "192.0.2.50", "255.255.255.255", "192.0.2.1", "12:34:56:78:9a:bc",
         {"Invalid Subnet Mask"}, 0, IDCANCEL,
         {"192.0.2.50", "12:34:56:78:9a:bc", "192.0.2.1", "255.255.255.255"}},
    };
    for (const GoCase& c : cases) {
        RecordedMessages recorded;
        CParametersDlg unit;
        scripted::QueueShowing(IDD_PARAMETERS, {{{IDC_IP_ADDRESS, c.ip},
                                                 {IDC_SUBNET_MASK, c.mask},
                                                 {IDC_DEFAULT_GATEWAY, c.gateway},
                                                 {IDC_HARDWARE_ADDRESS, c.hardware}},
                                                {IDOK}});
        EXPECT_EQ(unit.DoModal(), c.result) << c.name;
        EXPECT_EQ(recorded.Texts(), c.messages) << c.name;
        EXPECT_EQ(unit.m_bAccepted, c.accepted) << c.name;
        EXPECT_EQ((Strings{unit.m_strIpAddress, unit.m_strHardwareAddress, unit.m_strGateway, unit.m_strSubnetMask}),
                  c.fieldsRead)
            << c.name;
        for (const scripted::ShownMessage& m : recorded.All()) {
            EXPECT_EQ(m.title, "wrenset_unit_tests") << c.name;
            EXPECT_EQ(m.ownerTemplateId, IDD_PARAMETERS) << c.name << ": field messages belong to the open dialog";
        }
    }
}

TEST(OnGo, ARejectedLaterFieldLeavesTheNewIpAddressConverted) {
    RecordedMessages recorded;
    CParametersDlg unit;
    scripted::QueueShowing(IDD_PARAMETERS, {{{IDC_IP_ADDRESS, "192.0.2.77"}, {IDC_HARDWARE_ADDRESS, "nope"}}, {IDOK}});
    unit.DoModal();
    EXPECT_EQ(unit.m_ipAddress, inet_addr("192.0.2.77"));
    EXPECT_EQ(unit.m_bAccepted, 0);
}

TEST(OnGo, EachPressStartsAfreshAndClearsTheAcceptedFlag) {
    RecordedMessages recorded;
    CParametersDlg unit;
    const std::map<int, std::string> good = {{IDC_IP_ADDRESS, "192.0.2.50"},
                                             {IDC_SUBNET_MASK, "255.255.255.0"},
                                             {IDC_DEFAULT_GATEWAY, "192.0.2.1"},
                                             {IDC_HARDWARE_ADDRESS, "12:34:56:78:9a:bc"}};
    scripted::QueueShowing(IDD_PARAMETERS, {good, {IDOK}});
    ASSERT_EQ(unit.DoModal(), IDOK);
    ASSERT_EQ(unit.m_bAccepted, 1);

    std::map<int, std::string> badMask = good;
    badMask[IDC_SUBNET_MASK] = "255.255.255.255";
    scripted::QueueShowing(IDD_PARAMETERS, {badMask, {IDOK, IDOK}});
    EXPECT_EQ(unit.DoModal(), IDCANCEL);
    EXPECT_EQ(unit.m_bAccepted, 0);
    EXPECT_EQ(recorded.Texts(), (Strings{"Invalid Subnet Mask", "Invalid Subnet Mask"}));
}

TEST(OnCancel, LeavesTheAcceptedFlagAsItWas) {
    RecordedMessages recorded;
    CParametersDlg unit;
    unit.m_bAccepted = 1;
    scripted::QueueShowing(IDD_PARAMETERS, {{}, {IDCANCEL}});
    EXPECT_EQ(unit.DoModal(), IDCANCEL);
    EXPECT_EQ(unit.m_bAccepted, 1);
    EXPECT_TRUE(recorded.Texts().empty());
}

TEST(OnGo, ReadsEachFieldWithTheTwoHundredFiftyFiveCharacterLimit) {
    RecordedMessages recorded;
    CParametersDlg unit;
    const std::string longText = "192.0.2.5" + std::string(400, ' ');
    scripted::QueueShowing(IDD_PARAMETERS, {{{IDC_IP_ADDRESS, longText}}, {IDOK}});
    unit.DoModal();
    EXPECT_EQ(unit.m_strIpAddress.size(), 255u);
    EXPECT_EQ(unit.m_ipAddress, inet_addr("192.0.2.5"));
    EXPECT_EQ(recorded.Texts(), Strings{"Invalid Hardware Address"});
}

}  // namespace
