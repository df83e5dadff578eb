#include "res/resources.h"

#include "framework/types.h"
#include "res/resource.h"
#include "res/wrenset_icon.xpm"

namespace {

constexpr unsigned kEditStyle = kBorder | kTabStop | kAutoHorizontalScroll;

constexpr ControlTemplate kParametersControls[] = {
    {IDC_IP_ADDRESS, ControlKind::Edit, "", 93, 12, 92, 13, kEditStyle},
    {IDC_SUBNET_MASK, ControlKind::Edit, "", 93, 31, 92, 13, kEditStyle},
    {IDC_DEFAULT_GATEWAY, ControlKind::Edit, "", 93, 50, 92, 13, kEditStyle},
    {IDC_HARDWARE_ADDRESS, ControlKind::Edit, "", 93, 69, 92, 13, kEditStyle},
    {IDOK, ControlKind::DefaultPushButton, "Go", 203, 22, 50, 15, kTabStop},
    {IDCANCEL, ControlKind::PushButton, "Cancel", 204, 42, 50, 14, kTabStop},
    {IDC_STATIC, ControlKind::StaticText, "IP Address:", 10, 17, 51, 8, kGroup},
    {IDC_STATIC, ControlKind::StaticText, "Subnet Mask:", 10, 34, 51, 8, kGroup},
    {IDC_STATIC, ControlKind::StaticText, "Default Gateway:", 10, 54, 65, 8, kGroup},
    {IDC_STATIC, ControlKind::StaticText, "Hardware Address:", 10, 70, 66, 8, kGroup},
};

constexpr ControlTemplate kAboutControls[] = {
    {IDOK, ControlKind::DefaultPushButton, "OK", 67, 53, 32, 14, kGroup | kTabStop},
    {IDC_STATIC, ControlKind::StaticText, "Copyright (C) Wrenset developers", 19, 30, 124, 10,
     kGroup},
    {IDC_STATIC, ControlKind::StaticText, "Wrenset        Version  2.0", 19, 14, 120, 8, kGroup},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_PARAMETERS, "BootP Parameters", "MS Sans Serif", 8, 0, 0, 258, 92, true, kParametersControls},
    {IDD_ABOUTBOX, "About Wrenset", "Helv", 8, 34, 22, 168, 74, false, kAboutControls},
};

constexpr MenuItem kAdminItems[] = {
    {"&Configure", ID_ADMIN_CONFIGURE},
    {"&Verify", ID_ADMIN_VERIFY},
    {nullptr, 0},
    {"E&xit", ID_ADMIN_EXIT},
};

constexpr MenuItem kHelpItems[] = {
    {"&About", IDD_ABOUTBOX},
};

constexpr MenuPopup kMainMenu[] = {
    {"&Admin", kAdminItems},
    {"&Help", kHelpItems},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& dialog : kDialogs) {
        if (dialog.id == id) {
            return &dialog;
        }
    }
    return nullptr;
}

std::span<const MenuPopup> FindMenu(int id) {
    if (id == IDR_MAINFRAME) {
        return kMainMenu;
    }
    return {};
}

const char* FindString(int id) {
    if (id == IDR_MAINFRAME) {
        return "Tanager";
    }
    return nullptr;
}

const char* const* FindIconXpm(int id) {
    if (id == IDR_MAINFRAME) {
        return wrenset_icon_xpm;
    }
    return nullptr;
}
