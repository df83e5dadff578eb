// Resource and command identifiers.
#pragma once

inline constexpr int IDR_MAINFRAME = 128;  // the menu, the title string and the icon
inline constexpr int IDD_PARAMETERS = 102;
inline constexpr int IDD_ABOUTBOX = 130;  // also the command of Help > About

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDC_IP_ADDRESS = 1000;
inline constexpr int IDC_SUBNET_MASK = 1001;
inline constexpr int IDC_DEFAULT_GATEWAY = 1003;
inline constexpr int IDC_HARDWARE_ADDRESS = 1004;

inline constexpr int ID_ADMIN_CONFIGURE = 32769;
inline constexpr int ID_ADMIN_VERIFY = 32770;
inline constexpr int ID_ADMIN_EXIT = 32771;
