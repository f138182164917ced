#pragma once
// Menu resources and the bottom menu bar: the drop-down menus of a menu resource
// followed by a row of image buttons. Menu items and buttons send WM_COMMAND
// with their command id to the bar's window.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Window;
struct MenuBar;

struct MenuItem {
    int command; // 0 for a separator
    std::string text;
};
struct MenuPopup {
    std::string title;
    std::vector<MenuItem> items;
};
struct Menu {
    std::vector<MenuPopup> popups;
    std::vector<MenuItem> commands; // names of commands that no drop-down holds (the buttons')
};

// Button states, combined as the handheld's toolbar combined them.
constexpr uint8_t TBSTATE_CHECKED = 0x01;
constexpr uint8_t TBSTATE_ENABLED = 0x04;
constexpr uint8_t TBSTATE_HIDDEN = 0x08;
// Button styles.
constexpr uint8_t TBSTYLE_BUTTON = 0x00;
constexpr uint8_t TBSTYLE_CHECK = 0x02;

struct MenuBarButton {
    int image; // index of the 16 x 16 image in the button bitmap
    int command;
    uint8_t state;
    uint8_t style;
};

// Logical height of the bar below the client area.
constexpr int MENU_BAR_HEIGHT = 26;

// False when the resource is missing or does not read.
bool loadMenu(int resourceId, Menu* menu);
// The bar below the window's client area, or null when the menu cannot be loaded.
MenuBar* createMenuBar(Window* window, int menuId);
// The bitmap holds 16 x 16 images side by side, silver transparent.
bool addMenuBarButtons(MenuBar* bar, int bitmapId, const MenuBarButton* buttons, int count);
bool setButtonState(MenuBar* bar, int command, uint8_t state);
// The state of the button of that command, or -1 when there is none.
int buttonState(MenuBar* bar, int command);
MenuBar* menuBarOf(Window* window);

// Acts as the user would (scripted use): taps a button, chooses a menu item.
bool pressMenuBarButton(MenuBar* bar, int command);
bool chooseMenuItem(MenuBar* bar, int command);

} // namespace platform
