// The program's resources as data: the menu, the dialog templates (in dialog units), the
// strings and the icon. Both framework implementations read them from here.
#pragma once

#include <span>

enum class ControlKind { Edit, DefaultPushButton, PushButton, StaticText };

// Control styles that matter to the program.
inline constexpr unsigned kTabStop = 1u << 0;
inline constexpr unsigned kGroup = 1u << 1;
inline constexpr unsigned kBorder = 1u << 2;
inline constexpr unsigned kAutoHorizontalScroll = 1u << 3;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontName;
    int pointSize;
    int x, y, width, height;
    bool visible;  // WS_VISIBLE in the template
    std::span<const ControlTemplate> controls;  // in tab order
};

struct MenuItem {
    const char* text;  // nullptr for a separator
    int commandId;
};

struct MenuPopup {
    const char* text;
    std::span<const MenuItem> items;
};

// nullptr / empty when the program has no resource of that id.
const DialogTemplate* FindDialogTemplate(int id);
std::span<const MenuPopup> FindMenu(int id);
const char* FindString(int id);
const char* const* FindIconXpm(int id);
