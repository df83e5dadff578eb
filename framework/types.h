// The handful of window-framework types and constants that the program's own code uses.
#pragma once

#include <cstdint>

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

using BYTE = std::uint8_t;
using UINT = unsigned int;
using COLORREF = std::uint32_t;

// A colour as the framework stores it: 0x00BBGGRR.
constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}
constexpr BYTE GetRValue(COLORREF color) { return static_cast<BYTE>(color & 0xFF); }
constexpr BYTE GetGValue(COLORREF color) { return static_cast<BYTE>((color >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF color) { return static_cast<BYTE>((color >> 16) & 0xFF); }

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Dialog results and the command ids of the standard buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Frame window styles.
inline constexpr unsigned WS_OVERLAPPEDWINDOW = 0x00CF0000u;
inline constexpr unsigned FWS_ADDTOTITLE = 0x00008000u;

// Show states.
inline constexpr int SW_SHOWNORMAL = 1;

// Painting.
inline constexpr int PS_SOLID = 0;
inline constexpr int FW_BOLD = 700;
inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE OUT_DEFAULT_PRECIS = 0;
inline constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
inline constexpr BYTE PROOF_QUALITY = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr int TRANSPARENT = 1;
