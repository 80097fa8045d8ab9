#include "core/window/input_key_table.h"

#include "platform/dinput.h"
#include "platform/user32.h"

namespace {

constexpr VirtualKeyCode kTable[] = {
    {'A', D_DIK_A}, {'B', D_DIK_B}, {'C', D_DIK_C}, {'D', D_DIK_D}, {'E', D_DIK_E},
    {'F', D_DIK_F}, {'G', D_DIK_G}, {'H', D_DIK_H}, {'I', D_DIK_I}, {'J', D_DIK_J},
    {'K', D_DIK_K}, {'L', D_DIK_L}, {'M', D_DIK_M}, {'N', D_DIK_N}, {'O', D_DIK_O},
    {'P', D_DIK_P}, {'Q', D_DIK_Q}, {'R', D_DIK_R}, {'S', D_DIK_S}, {'T', D_DIK_T},
    {'U', D_DIK_U}, {'V', D_DIK_V}, {'W', D_DIK_W}, {'X', D_DIK_X}, {'Y', D_DIK_Y},
    {'Z', D_DIK_Z},
    {'0', D_DIK_0}, {'1', D_DIK_1}, {'2', D_DIK_2}, {'3', D_DIK_3}, {'4', D_DIK_4},
    {'5', D_DIK_5}, {'6', D_DIK_6}, {'7', D_DIK_7}, {'8', D_DIK_8}, {'9', D_DIK_9},
    {VK_LEFT, D_DIK_LEFT}, {VK_RIGHT, D_DIK_RIGHT}, {VK_UP, D_DIK_UP}, {VK_DOWN, D_DIK_DOWN},
    {VK_DELETE, D_DIK_DELETE}, {VK_ESCAPE, D_DIK_ESCAPE}, {VK_SPACE, D_DIK_SPACE},
    {VK_BACK, D_DIK_BACK}, {VK_TAB, D_DIK_TAB},
    {VK_RETURN, D_DIK_RETURN}, {VK_RETURN, D_DIK_NUMPADENTER},
    {VK_NUMPAD0, D_DIK_NUMPAD0}, {VK_NUMPAD0 + 1, D_DIK_NUMPAD1}, {VK_NUMPAD0 + 2, D_DIK_NUMPAD2},
    {VK_NUMPAD0 + 3, D_DIK_NUMPAD3}, {VK_NUMPAD0 + 4, D_DIK_NUMPAD4}, {VK_NUMPAD0 + 5, D_DIK_NUMPAD5},
    {VK_NUMPAD0 + 6, D_DIK_NUMPAD6}, {VK_NUMPAD0 + 7, D_DIK_NUMPAD7}, {VK_NUMPAD0 + 8, D_DIK_NUMPAD8},
    {VK_NUMPAD0 + 9, D_DIK_NUMPAD9},
    {VK_MULTIPLY, D_DIK_MULTIPLY}, {VK_ADD, D_DIK_ADD}, {VK_SUBTRACT, D_DIK_SUBTRACT},
    {VK_DECIMAL, D_DIK_DECIMAL}, {VK_DIVIDE, D_DIK_DIVIDE},
    {VK_LSHIFT, D_DIK_LSHIFT}, {VK_RSHIFT, D_DIK_RSHIFT}, {VK_LCONTROL, D_DIK_LCONTROL},
    {VK_RCONTROL, D_DIK_RCONTROL}, {VK_LMENU, D_DIK_LMENU}, {VK_RMENU, D_DIK_RMENU},
    {VK_PRIOR, D_DIK_PRIOR}, {VK_NEXT, D_DIK_NEXT}, {VK_END, D_DIK_END}, {VK_HOME, D_DIK_HOME},
    {VK_INSERT, D_DIK_INSERT}, {VK_SCROLL, D_DIK_SCROLL}, {VK_CAPITAL, D_DIK_CAPITAL},
    {VK_PAUSE, D_DIK_PAUSE},
    {VK_F1, D_DIK_F1}, {VK_F1 + 1, D_DIK_F2}, {VK_F1 + 2, D_DIK_F3}, {VK_F1 + 3, D_DIK_F4},
    {VK_F1 + 4, D_DIK_F5}, {VK_F1 + 5, D_DIK_F6}, {VK_F1 + 6, D_DIK_F7}, {VK_F1 + 7, D_DIK_F8},
    {VK_F1 + 8, D_DIK_F9}, {VK_F1 + 9, D_DIK_F10}, {VK_F1 + 10, D_DIK_F11}, {VK_F1 + 11, D_DIK_F12},
    // The OEM keys of a Japanese keyboard.
    {VK_OEM_PLUS, D_DIK_SEMICOLON}, {VK_OEM_1, D_DIK_COLON}, {VK_OEM_3, D_DIK_AT},
    {VK_OEM_4, D_DIK_LBRACKET}, {VK_OEM_6, D_DIK_RBRACKET}, {VK_OEM_102, D_DIK_BACKSLASH},
    {VK_OEM_COMMA, D_DIK_COMMA}, {VK_OEM_MINUS, D_DIK_MINUS}, {VK_OEM_5, D_DIK_YEN},
    {VK_OEM_PERIOD, D_DIK_PERIOD}, {VK_OEM_2, D_DIK_SLASH},
};
static_assert(std::size(kTable) == 99);

}  // namespace

std::span<const VirtualKeyCode> VirtualKeyCodeTable() { return kTable; }
