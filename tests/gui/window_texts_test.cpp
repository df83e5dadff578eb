// The texts the windows show, as the resources hold them: the title, the menu, the dialogs'
// captions and labels. The desktop tests read what they can off the screen (titles, messages);
// labels and menu items are drawn by the toolkit, so they are checked here, where both framework
// implementations read them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/types.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

struct Item {
    std::string text;  // empty for a separator
    int commandId;
};

std::vector<Item> ItemsOf(const MenuPopup& popup) {
    std::vector<Item> items;
    for (const MenuItem& item : popup.items) {
        items.push_back({item.text != nullptr ? item.text : "", item.commandId});
    }
    return items;
}

bool operator==(const Item& a, const Item& b) { return a.text == b.text && a.commandId == b.commandId; }

struct Control {
    int id;
    ControlKind kind;
    std::string text;
};

bool operator==(const Control& a, const Control& b) { return a.id == b.id && a.kind == b.kind && a.text == b.text; }

std::vector<Control> ControlsOf(int dialogId) {
    std::vector<Control> controls;
    for (const ControlTemplate& control : FindDialogTemplate(dialogId)->controls) {
        controls.push_back({control.id, control.kind, control.text});
    }
    return controls;
}

TEST(WindowTexts, MainWindowTitleAndMenu) {
    ASSERT_NE(FindString(IDR_MAINFRAME), nullptr);
    EXPECT_STREQ(FindString(IDR_MAINFRAME), "Tanager");
    const auto menu = FindMenu(IDR_MAINFRAME);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_STREQ(menu[0].text, "&Admin");
    EXPECT_EQ(ItemsOf(menu[0]), (std::vector<Item>{{"&Configure", 32769}, {"&Verify", 32770}, {"", 0}, {"E&xit", 32771}}));
    EXPECT_STREQ(menu[1].text, "&Help");
    EXPECT_EQ(ItemsOf(menu[1]), (std::vector<Item>{{"&About", 130}}));
}

TEST(WindowTexts, ParametersDialog) {
    ASSERT_NE(FindDialogTemplate(IDD_PARAMETERS), nullptr);
    EXPECT_STREQ(FindDialogTemplate(IDD_PARAMETERS)->caption, "BootP Parameters");
    EXPECT_EQ(ControlsOf(IDD_PARAMETERS), (std::vector<Control>{
                                              {1000, ControlKind::Edit, ""},
                                              {1001, ControlKind::Edit, ""},
                                              {1003, ControlKind::Edit, ""},
                                              {1004, ControlKind::Edit, ""},
                                              {IDOK, ControlKind::DefaultPushButton, "Go"},
                                              {IDCANCEL, ControlKind::PushButton, "Cancel"},
                                              {IDC_STATIC, ControlKind::StaticText, "IP Address:"},
                                              {IDC_STATIC, ControlKind::StaticText, "Subnet Mask:"},
                                              {IDC_STATIC, ControlKind::StaticText, "Default Gateway:"},
                                              {IDC_STATIC, ControlKind::StaticText, "Hardware Address:"},
                                          }));
}

TEST(WindowTexts, AboutBox) {
    ASSERT_NE(FindDialogTemplate(IDD_ABOUTBOX), nullptr);
    EXPECT_STREQ(FindDialogTemplate(IDD_ABOUTBOX)->caption, "About Wrenset");
    const std::vector<Control> controls = ControlsOf(IDD_ABOUTBOX);
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0], (Control{IDOK, ControlKind::DefaultPushButton, "OK"}));
    // The maker's notice is our own wording; it is a label all the same.
    EXPECT_EQ(controls[1].kind, ControlKind::StaticText);
    EXPECT_FALSE(controls[1].text.empty());
    // Eight blanks before "Version", two before "2.0".
    EXPECT_EQ(controls[2], (Control{IDC_STATIC, ControlKind::StaticText, "Wrenset        Version  2.0"}));
}

// One 32 x 32 picture of at most 16 colours.
TEST(WindowTexts, IconIsThirtyTwoSquareInSixteenColours) {
    const char* const* xpm = FindIconXpm(IDR_MAINFRAME);
    ASSERT_NE(xpm, nullptr);
    int width = 0;
    int height = 0;
    int colours = 0;
    int charsPerPixel = 0;
    ASSERT_EQ(std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &charsPerPixel), 4);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 32);
    EXPECT_LE(colours, 16);
}

}  // namespace
