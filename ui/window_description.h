// Windows described as data: the Win32 layer realises a description as real
// windows and controls, and raises their events to the core's handlers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ControlKind { TabControl, GroupBox, Button, CheckBox, DropDownList, Label, PictureBox, Hyperlink };
enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Middle, Bottom };

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A font of the GB2312 character set; height 0 means the default GUI font.
struct FontDesc {
    int height = 0;  // character height in pixels
    int weight = 400;
    const char* face = nullptr;  // nullptr: the system's default face
};

// Pictures the program carries in its own data.
enum class Picture { None, AppIcon, InfoIcon, TrayIcon, WarningIcon, Banner1, Banner2, Banner3 };

struct ControlDesc {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    int parent = 0;                           // 0: the window itself
    int page = 0;                             // for a child of a tab control: its page, from 1
    int x = 0, y = 0, width = 0, height = 0;  // in the parent's client area
    std::string text;
    std::vector<std::string> items;  // tab pages or list items
    FontDesc font;
    std::optional<Rgb> textColour;
    std::optional<Rgb> background;  // none: the button-face colour
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Middle;
    bool wrap = false;
    bool enabled = true;
    bool sunkenEdge = false;
    bool handCursor = false;
    bool takesFocus = false;
    Picture picture = Picture::None;
    bool stretchPicture = false;
    std::string address;  // what a hyperlink opens
};

struct TimerDesc {
    int id = 0;
    int periodMs = 0;  // 0: stopped
};

struct MenuItemDesc {
    int id = 0;        // 0 for a separator
    std::string text;  // "-" for a separator
};

struct WindowDesc {
    std::string caption;
    int width = 0, height = 0;  // outer size
    Picture icon = Picture::None;
    std::vector<ControlDesc> controls;
    std::vector<TimerDesc> timers;
    std::vector<MenuItemDesc> menu;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

const ControlDesc* FindControl(const WindowDesc& window, int id);
// A control's place in the window's client area: children of tab controls
// and group boxes are placed in their parent's client area.
Rect PlaceInWindow(const WindowDesc& window, const ControlDesc& control);
// The tab page a control belongs to through its parents; 0 for none.
int PageOf(const WindowDesc& window, const ControlDesc& control);
// Centres an outer size on a screen, with integer division.
Rect CentreOnScreen(int width, int height, int screenWidth, int screenHeight);
