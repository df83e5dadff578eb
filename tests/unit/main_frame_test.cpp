// The main window's commands through the scripted framework. Whether Configure ran the exchange
// shows in its first step: the socket layer is made to fail the open, which reports itself.
#include "ui/main_frame.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "framework/scripted/scripted.h"
#include "net/socket_faults.h"
#include "res/resource.h"
#include "scripted_fixture.h"
#include "ui/about_dlg.h"
#include "ui/app_objects.h"
#include "unit/parameters_dlg.h"

namespace {

using Strings = std::vector<std::string>;

class FailEveryOpen : public SocketFaults {
public:
    FailEveryOpen() { InstallSocketFaults(this); }
    ~FailEveryOpen() override { InstallSocketFaults(nullptr); }
    int FailureFor(SocketCall call) override { return call == SocketCall::Open ? EMFILE : 0; }
};

const Strings kExchangeRan = {"Invalid Socket returned", "WSAEMFILE:"};

scripted::Showing Fields(const char* ip, const char* hardware) {
    return {{{IDC_IP_ADDRESS, ip},
             {IDC_SUBNET_MASK, "255.255.255.0"},
             {IDC_DEFAULT_GATEWAY, "192.0.2.1"},
             {IDC_HARDWARE_ADDRESS, hardware}},
            {IDOK}};
}

struct ConfigureFixture : testing::Test {
    RecordedMessages recorded;
    FailEveryOpen faults;
    CParametersDlg parameters;
    CAboutDlg about;
    CMainFrame frame{parameters, about};

    Strings Configure(std::optional<scripted::Showing> showing) {
        const std::size_t before = recorded.Texts().size();
        if (showing) {
            scripted::QueueShowing(IDD_PARAMETERS, *showing);
        }
        frame.Dispatch(WindowMessage::Command, ID_ADMIN_CONFIGURE);
        const Strings all = recorded.Texts();
        return Strings(all.begin() + static_cast<long>(before), all.end());
    }
};

TEST_F(ConfigureFixture, CancelOnFirstUseRunsNoExchangeAndRepaints) {
    EXPECT_EQ(Configure(std::nullopt), Strings{});
    EXPECT_EQ(scripted::StateOf(frame).erasingInvalidations, 1);
}

TEST_F(ConfigureFixture, AnAcceptedEntryRunsTheExchangeAgainWhenTheNextShowingIsCancelled) {
    EXPECT_EQ(Configure(Fields("192.0.2.50", "12:34:56:78:9a:bc")), kExchangeRan);
    EXPECT_EQ(Configure(std::nullopt), kExchangeRan);
    EXPECT_EQ(parameters.m_ipAddress, inet_addr("192.0.2.50"));
    EXPECT_EQ(scripted::StateOf(frame).erasingInvalidations, 2);
}

TEST_F(ConfigureFixture, ARejectedEntryThenCancelRunsNone) {
    EXPECT_EQ(Configure(Fields("192.0.2.50", "12:34:56:78:9a:bc")), kExchangeRan);
    scripted::Showing rejected = Fields("192.0.2.60", "12:34");
    rejected.presses = {IDOK, IDCANCEL};
    EXPECT_EQ(Configure(rejected), Strings{"Invalid Hardware Address"});
    EXPECT_EQ(Configure(std::nullopt), Strings{});
    EXPECT_EQ(scripted::StateOf(frame).erasingInvalidations, 3);
}

TEST_F(ConfigureFixture, ExchangeMessagesHaveNoOwnerWhileFieldMessagesBelongToTheDialog) {
    scripted::Showing showing = Fields("bad", "12:34:56:78:9a:bc");
    showing.fieldTexts[IDC_IP_ADDRESS] = "bad";
    showing.presses = {IDOK};
    Configure(showing);
    Configure(Fields("192.0.2.50", "12:34:56:78:9a:bc"));
    const auto& all = recorded.All();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].text, "Invalid IP Address");
    EXPECT_EQ(all[0].ownerTemplateId, IDD_PARAMETERS);
    EXPECT_EQ(all[1].ownerTemplateId, 0);
    EXPECT_EQ(all[2].ownerTemplateId, 0);
}

TEST_F(ConfigureFixture, VerifyWhoseSetUpFailsEndsAfterItsTwoMessagesAndRepaints) {
    frame.Dispatch(WindowMessage::Command, ID_ADMIN_VERIFY);
    EXPECT_EQ(recorded.Texts(), kExchangeRan);
    EXPECT_FALSE(parameters.m_socket.IsOpen());
    EXPECT_EQ(scripted::StateOf(frame).erasingInvalidations, 1);
}

class FailEverySend : public SocketFaults {
public:
    FailEverySend() { InstallSocketFaults(this); }
    ~FailEverySend() override { InstallSocketFaults(nullptr); }
    int FailureFor(SocketCall call) override { return call == SocketCall::Send ? ENETUNREACH : 0; }
};

TEST(MainFrame, VerifyProbesTheAddressOfTheLastGoEvenWhenALaterFieldWasRejected) {
    RecordedMessages recorded;
    CParametersDlg parameters;
    CAboutDlg about;
    CMainFrame frame(parameters, about);
    scripted::QueueShowing(IDD_PARAMETERS, Fields("192.0.2.77", "not-a-mac"));
    frame.Dispatch(WindowMessage::Command, ID_ADMIN_CONFIGURE);
    FailEverySend faults;
    frame.Dispatch(WindowMessage::Command, ID_ADMIN_VERIFY);
    EXPECT_EQ(recorded.Texts(), (Strings{"Invalid Hardware Address", "sendto failure", "WSAENETUNREACH:"}));
    EXPECT_EQ(parameters.m_unitAddr.sin_addr.s_addr, inet_addr("192.0.2.77"));
    EXPECT_EQ(parameters.m_unitAddr.sin_port, htons(161));
    EXPECT_EQ(parameters.m_localAddr.sin_port, htons(10001));
    EXPECT_FALSE(parameters.m_socket.IsOpen());
}

TEST(MainFrame, LoadsItsResourcesAndRoutesEveryMenuCommand) {
    CParametersDlg parameters;
    CAboutDlg about;
    CMainFrame frame(parameters, about);
    EXPECT_EQ(scripted::StateOf(frame).loadedResourceId, IDR_MAINFRAME);
    for (int command : {IDD_ABOUTBOX, ID_ADMIN_CONFIGURE, ID_ADMIN_VERIFY, ID_ADMIN_EXIT}) {
        EXPECT_TRUE(frame.HasHandler(WindowMessage::Command, command)) << command;
    }
    EXPECT_FALSE(frame.HasHandler(WindowMessage::Command, 1002));
    frame.Dispatch(WindowMessage::Command, ID_ADMIN_EXIT);
    EXPECT_TRUE(scripted::StateOf(frame).destroyed);
}

TEST(MainFrame, PaintsTheBlueItalicBannerAtTheMiddleOfTheClientArea) {
    CParametersDlg parameters;
    CAboutDlg about;
    CMainFrame frame(parameters, about);
    scripted::StateOf(frame).clientRect = RECT{0, 0, 641, 333};
    scripted::Paint(frame);
    const auto& painted = scripted::StateOf(frame).paintedText;
    ASSERT_EQ(painted.size(), 1u);
    const scripted::TextOutput& banner = painted[0];
    EXPECT_EQ(banner.text, "Tanager");
    EXPECT_EQ(banner.x, 320);
    EXPECT_EQ(banner.y, 166);
    EXPECT_EQ(banner.align, 30u);  // centre and baseline
    EXPECT_EQ(banner.color, 0x00FF0000u);
    EXPECT_EQ(banner.backgroundMode, TRANSPARENT);
    EXPECT_EQ(banner.fontHeight, 75);
    EXPECT_EQ(banner.fontWeight, 700);
    EXPECT_TRUE(banner.fontItalic);
    EXPECT_EQ(banner.penWidth, 2);
    EXPECT_EQ(banner.penColor, 0x00FF0000u);
}

TEST(WrensetApp, InitInstanceShowsAndPaintsTheMainWindowBeforeTheLoopStarts) {
    ASSERT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(theApp.InitInstance(), TRUE);
    CFrameWnd* frame = AfxGetMainWnd();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(scripted::StateOf(*frame).loadedResourceId, IDR_MAINFRAME);
    EXPECT_EQ(scripted::StateOf(*frame).showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(scripted::StateOf(*frame).updates, 1);
    delete frame;
    theApp.m_pMainWnd = nullptr;
}

TEST(AboutBox, OkEndsIt) {
    RecordedMessages recorded;
    CAboutDlg about;
    scripted::QueueShowing(IDD_ABOUTBOX, {{}, {IDOK}});
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_TRUE(recorded.Texts().empty());
}

}  // namespace
