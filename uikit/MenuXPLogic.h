#pragma once
// The arithmetic of the XP menus, kept apart from the windows so it can be
// tested natively: the item data packing and measuring, labels with their
// accelerators and mnemonics, the gradient bands, the shadow pixels, the
// Windows version class and the popup's placement adjustment.
#include <cstdint>
#include <string>
#include <vector>

#include "uikit/ColorHLS.h"

namespace menuxp {

// Item data of owner-drawn items. A low byte of 0 marks a menu-bar item.
std::uint32_t PackBarItem(int labelWidth);
std::uint32_t PackSeparator(int separatorHeight);
// Only the low 8 bits of the accelerator width survive.
std::uint32_t PackPopupItem(int itemHeight, int widestAccel, int widestLabel);

struct ItemSize {
    int width;
    int height; // 0 for a menu-bar item: the system keeps the bar's height
};
ItemSize MeasureItem(std::uint32_t itemData);

// Heights from the menu font's tmHeight.
int ItemHeight(int tmHeight);
int SeparatorHeight(int tmHeight);

// The text before the first TAB, and after it (empty without a TAB).
std::string LabelOf(const std::string& text);
std::string AcceleratorOf(const std::string& text);
// A new text for a menu item keeps the item's shortcut unless it names one.
std::string KeepAccelerator(const std::string& text, const std::string& old);
// The label as measured: its first "&" removed.
std::string WithoutFirstAmpersand(const std::string& label);

// True when the label's mnemonic is ch (compared upper-case); an escaped
// "&&" is no mnemonic.
bool HasMnemonic(const std::string& label, char ch);
// Position of the first label with that mnemonic, or -1.
int FindMnemonic(const std::vector<std::string>& labels, char ch);

// One band of a horizontal gradient: x from left to right (exclusive).
struct Band {
    int left;
    int right;
    ColourRef colour;
};
// The bands that fill [left, right) from start to end; empty bands are left
// out. Equal colours give one band.
std::vector<Band> GradientBands(ColourRef start, ColourRef end, int left, int right);

// A pixel darkened by the shadow: channel * (93 - 5k) / 100.
struct ShadePixel {
    int x;
    int y;
    int k;
};
ColourRef Shade(ColourRef colour, int k);
// The popup's 4-pixel shadow inside a w x h window-relative rectangle.
std::vector<ShadePixel> MenuShadowPixels(int w, int h);
// The shaded 4-pixel strip at the right of an open menu-bar item.
std::vector<ShadePixel> BarStripPixels(int left, int top, int right, int bottom);

// Windows version class: 8 is NT 5.1 exactly; everything below 8 counts
// as "before XP" and gets the drawn shadow.
enum Platform { kWin32s = 0, kWindows = 1, kNT = 2 };
int VersionClass(bool queried, int platform, int major, int minor);
inline bool IsBeforeXP(int versionClass) { return versionClass < 8; }

// The popup window's placement: before XP it is 4 pixels wider and higher
// (room for the shadow), and always 1 pixel higher up. A geometry that was
// adjusted already is passed back unchanged, so a popup positioned more
// than once neither grows nor climbs again.
class PopupPlacement {
public:
    // Adjusts the proposed geometry in place; hasMove/hasSize: the system
    // uses the position / size.
    void Adjust(bool beforeXP, bool hasMove, bool hasSize, int& x, int& y, int& cx, int& cy);
    bool HasPosition() const { return m_hasPos; }
    int X() const { return m_x; }
    int Y() const { return m_y; }

private:
    bool m_hasPos = false;
    bool m_hasSize = false;
    int m_x = -0xFFFF, m_y = -0xFFFF, m_cx = 0, m_cy = 0;
};

} // namespace menuxp
