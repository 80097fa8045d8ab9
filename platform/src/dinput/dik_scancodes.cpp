#include "dinput/dik_scancodes.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <iterator>

#include "platform/dinput.h"

namespace wqplat {
namespace {

struct ScancodeDik {
  int sdl_scancode;
  int dik;
};

// Physical positions; the Japanese keyboard's own keys (Kana, Kanji,
// Convert, No-convert, Yen and the backslash-underscore key) have their
// own codes. Kana arrives as the Katakana/Hiragana key from PC keyboards
// and as the language toggle from others: both read as Kana.
constexpr ScancodeDik kTable[] = {
    {SDL_SCANCODE_ESCAPE, D_DIK_ESCAPE},       {SDL_SCANCODE_1, D_DIK_1},
    {SDL_SCANCODE_2, D_DIK_2},                 {SDL_SCANCODE_3, D_DIK_3},
    {SDL_SCANCODE_4, D_DIK_4},                 {SDL_SCANCODE_5, D_DIK_5},
    {SDL_SCANCODE_6, D_DIK_6},                 {SDL_SCANCODE_7, D_DIK_7},
    {SDL_SCANCODE_8, D_DIK_8},                 {SDL_SCANCODE_9, D_DIK_9},
    {SDL_SCANCODE_0, D_DIK_0},                 {SDL_SCANCODE_MINUS, D_DIK_MINUS},
    {SDL_SCANCODE_EQUALS, D_DIK_EQUALS},       {SDL_SCANCODE_BACKSPACE, D_DIK_BACK},
    {SDL_SCANCODE_TAB, D_DIK_TAB},             {SDL_SCANCODE_Q, D_DIK_Q},
    {SDL_SCANCODE_W, D_DIK_W},                 {SDL_SCANCODE_E, D_DIK_E},
    {SDL_SCANCODE_R, D_DIK_R},                 {SDL_SCANCODE_T, D_DIK_T},
    {SDL_SCANCODE_Y, D_DIK_Y},                 {SDL_SCANCODE_U, D_DIK_U},
    {SDL_SCANCODE_I, D_DIK_I},                 {SDL_SCANCODE_O, D_DIK_O},
    {SDL_SCANCODE_P, D_DIK_P},                 {SDL_SCANCODE_LEFTBRACKET, D_DIK_LBRACKET},
    {SDL_SCANCODE_RIGHTBRACKET, D_DIK_RBRACKET}, {SDL_SCANCODE_RETURN, D_DIK_RETURN},
    {SDL_SCANCODE_LCTRL, D_DIK_LCONTROL},      {SDL_SCANCODE_A, D_DIK_A},
    {SDL_SCANCODE_S, D_DIK_S},                 {SDL_SCANCODE_D, D_DIK_D},
    {SDL_SCANCODE_F, D_DIK_F},                 {SDL_SCANCODE_G, D_DIK_G},
    {SDL_SCANCODE_H, D_DIK_H},                 {SDL_SCANCODE_J, D_DIK_J},
    {SDL_SCANCODE_K, D_DIK_K},                 {SDL_SCANCODE_L, D_DIK_L},
    {SDL_SCANCODE_SEMICOLON, D_DIK_SEMICOLON}, {SDL_SCANCODE_APOSTROPHE, D_DIK_APOSTROPHE},
    {SDL_SCANCODE_GRAVE, D_DIK_GRAVE},         {SDL_SCANCODE_LSHIFT, D_DIK_LSHIFT},
    {SDL_SCANCODE_BACKSLASH, D_DIK_BACKSLASH}, {SDL_SCANCODE_Z, D_DIK_Z},
    {SDL_SCANCODE_X, D_DIK_X},                 {SDL_SCANCODE_C, D_DIK_C},
    {SDL_SCANCODE_V, D_DIK_V},                 {SDL_SCANCODE_B, D_DIK_B},
    {SDL_SCANCODE_N, D_DIK_N},                 {SDL_SCANCODE_M, D_DIK_M},
    {SDL_SCANCODE_COMMA, D_DIK_COMMA},         {SDL_SCANCODE_PERIOD, D_DIK_PERIOD},
    {SDL_SCANCODE_SLASH, D_DIK_SLASH},         {SDL_SCANCODE_RSHIFT, D_DIK_RSHIFT},
    {SDL_SCANCODE_KP_MULTIPLY, D_DIK_MULTIPLY}, {SDL_SCANCODE_LALT, D_DIK_LMENU},
    {SDL_SCANCODE_SPACE, D_DIK_SPACE},         {SDL_SCANCODE_CAPSLOCK, D_DIK_CAPITAL},
    {SDL_SCANCODE_F1, D_DIK_F1},               {SDL_SCANCODE_F2, D_DIK_F2},
    {SDL_SCANCODE_F3, D_DIK_F3},               {SDL_SCANCODE_F4, D_DIK_F4},
    {SDL_SCANCODE_F5, D_DIK_F5},               {SDL_SCANCODE_F6, D_DIK_F6},
    {SDL_SCANCODE_F7, D_DIK_F7},               {SDL_SCANCODE_F8, D_DIK_F8},
    {SDL_SCANCODE_F9, D_DIK_F9},               {SDL_SCANCODE_F10, D_DIK_F10},
    {SDL_SCANCODE_NUMLOCKCLEAR, D_DIK_NUMLOCK}, {SDL_SCANCODE_SCROLLLOCK, D_DIK_SCROLL},
    {SDL_SCANCODE_KP_7, D_DIK_NUMPAD7},        {SDL_SCANCODE_KP_8, D_DIK_NUMPAD8},
    {SDL_SCANCODE_KP_9, D_DIK_NUMPAD9},        {SDL_SCANCODE_KP_MINUS, D_DIK_SUBTRACT},
    {SDL_SCANCODE_KP_4, D_DIK_NUMPAD4},        {SDL_SCANCODE_KP_5, D_DIK_NUMPAD5},
    {SDL_SCANCODE_KP_6, D_DIK_NUMPAD6},        {SDL_SCANCODE_KP_PLUS, D_DIK_ADD},
    {SDL_SCANCODE_KP_1, D_DIK_NUMPAD1},        {SDL_SCANCODE_KP_2, D_DIK_NUMPAD2},
    {SDL_SCANCODE_KP_3, D_DIK_NUMPAD3},        {SDL_SCANCODE_KP_0, D_DIK_NUMPAD0},
    {SDL_SCANCODE_KP_PERIOD, D_DIK_DECIMAL},   {SDL_SCANCODE_NONUSBACKSLASH, D_DIK_OEM_102},
    {SDL_SCANCODE_F11, D_DIK_F11},             {SDL_SCANCODE_F12, D_DIK_F12},
    {SDL_SCANCODE_LANG1, D_DIK_KANA},          {SDL_SCANCODE_INTERNATIONAL2, D_DIK_KANA},
    {SDL_SCANCODE_INTERNATIONAL1, D_DIK_ABNT_C1},
    {SDL_SCANCODE_INTERNATIONAL4, D_DIK_CONVERT}, {SDL_SCANCODE_INTERNATIONAL5, D_DIK_NOCONVERT},
    {SDL_SCANCODE_INTERNATIONAL3, D_DIK_YEN},  {SDL_SCANCODE_LANG2, D_DIK_KANJI},
    {SDL_SCANCODE_KP_ENTER, D_DIK_NUMPADENTER}, {SDL_SCANCODE_RCTRL, D_DIK_RCONTROL},
    {SDL_SCANCODE_KP_DIVIDE, D_DIK_DIVIDE},    {SDL_SCANCODE_PRINTSCREEN, D_DIK_SYSRQ},
    {SDL_SCANCODE_RALT, D_DIK_RMENU},          {SDL_SCANCODE_PAUSE, D_DIK_PAUSE},
    {SDL_SCANCODE_HOME, D_DIK_HOME},           {SDL_SCANCODE_UP, D_DIK_UP},
    {SDL_SCANCODE_PAGEUP, D_DIK_PRIOR},        {SDL_SCANCODE_LEFT, D_DIK_LEFT},
    {SDL_SCANCODE_RIGHT, D_DIK_RIGHT},         {SDL_SCANCODE_END, D_DIK_END},
    {SDL_SCANCODE_DOWN, D_DIK_DOWN},           {SDL_SCANCODE_PAGEDOWN, D_DIK_NEXT},
    {SDL_SCANCODE_INSERT, D_DIK_INSERT},       {SDL_SCANCODE_DELETE, D_DIK_DELETE},
    {SDL_SCANCODE_LGUI, D_DIK_LWIN},           {SDL_SCANCODE_RGUI, D_DIK_RWIN},
    {SDL_SCANCODE_APPLICATION, D_DIK_APPS},
};

}  // namespace

int DikOfScancode(int sdl_scancode) {
  // Read for every key of every keyboard read: indexed once.
  static const auto kByScancode = [] {
    std::array<unsigned char, SDL_NUM_SCANCODES> codes{};
    for (const ScancodeDik& row : kTable) codes[row.sdl_scancode] = static_cast<unsigned char>(row.dik);
    return codes;
  }();
  if (sdl_scancode < 0 || sdl_scancode >= SDL_NUM_SCANCODES) return 0;
  return kByScancode[sdl_scancode];
}

int ScancodeOfDik(int dik) {
  auto found = std::find_if(std::begin(kTable), std::end(kTable),
                            [&](const ScancodeDik& row) { return row.dik == dik; });
  return found == std::end(kTable) ? -1 : found->sdl_scancode;
}

}  // namespace wqplat
