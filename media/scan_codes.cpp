// SDL scancodes (USB keyboard usages, independent of the layout) to PC scan codes of
// set 1, the codes KeyDown takes: the make code of the key, with 0x80 added for keys
// sent with the 0xE0 prefix. Covers every key of a PC keyboard, the international and
// the common multimedia keys. Keys that have no set 1 code map to 0.
// Depends on SDL2's scancode numbering only.
#include <SDL_scancode.h>

#include <array>

#include "media/scan_codes.h"

namespace {

struct KeyPair {
    SDL_Scancode sdl;
    uint8_t code;
};

constexpr uint8_t kExtended = 0x80;

constexpr KeyPair kKeys[] = {
    // Main block, row by row.
    {SDL_SCANCODE_ESCAPE, 0x01},
    {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04}, {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08}, {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18}, {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B},  // same key position on ISO keyboards
    {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38}, {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},  // the extra key left of Z on ISO keyboards

    // Function keys.
    {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C}, {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40}, {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44}, {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_F13, 0x64}, {SDL_SCANCODE_F14, 0x65}, {SDL_SCANCODE_F15, 0x66}, {SDL_SCANCODE_F16, 0x67},
    {SDL_SCANCODE_F17, 0x68}, {SDL_SCANCODE_F18, 0x69}, {SDL_SCANCODE_F19, 0x6A}, {SDL_SCANCODE_F20, 0x6B},
    {SDL_SCANCODE_F21, 0x6C}, {SDL_SCANCODE_F22, 0x6D}, {SDL_SCANCODE_F23, 0x6E}, {SDL_SCANCODE_F24, 0x76},

    // Locks and the system keys.
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_SYSREQ, 0x54},  // Alt + Print Screen
    {SDL_SCANCODE_PRINTSCREEN, kExtended | 0x37}, {SDL_SCANCODE_PAUSE, kExtended | 0x45},

    // Numeric keypad.
    {SDL_SCANCODE_KP_7, 0x47}, {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B}, {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53}, {SDL_SCANCODE_KP_EQUALS, 0x59}, {SDL_SCANCODE_KP_COMMA, 0x7E},
    {SDL_SCANCODE_KP_ENTER, kExtended | 0x1C}, {SDL_SCANCODE_KP_DIVIDE, kExtended | 0x35},

    // Right-hand modifiers and the extended navigation block.
    {SDL_SCANCODE_RCTRL, kExtended | 0x1D}, {SDL_SCANCODE_RALT, kExtended | 0x38},
    {SDL_SCANCODE_LGUI, kExtended | 0x5B}, {SDL_SCANCODE_RGUI, kExtended | 0x5C},
    {SDL_SCANCODE_APPLICATION, kExtended | 0x5D},
    {SDL_SCANCODE_HOME, kExtended | 0x47}, {SDL_SCANCODE_UP, kExtended | 0x48},
    {SDL_SCANCODE_PAGEUP, kExtended | 0x49}, {SDL_SCANCODE_LEFT, kExtended | 0x4B},
    {SDL_SCANCODE_RIGHT, kExtended | 0x4D}, {SDL_SCANCODE_END, kExtended | 0x4F},
    {SDL_SCANCODE_DOWN, kExtended | 0x50}, {SDL_SCANCODE_PAGEDOWN, kExtended | 0x51},
    {SDL_SCANCODE_INSERT, kExtended | 0x52}, {SDL_SCANCODE_DELETE, kExtended | 0x53},

    // International keys.
    {SDL_SCANCODE_INTERNATIONAL1, 0x73}, {SDL_SCANCODE_INTERNATIONAL2, 0x70},
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D}, {SDL_SCANCODE_INTERNATIONAL4, 0x79},
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B}, {SDL_SCANCODE_LANG1, 0xF2}, {SDL_SCANCODE_LANG2, 0xF1},

    // Power and multimedia keys.
    {SDL_SCANCODE_POWER, kExtended | 0x5E}, {SDL_SCANCODE_SLEEP, kExtended | 0x5F},
    {SDL_SCANCODE_AUDIOPREV, kExtended | 0x10}, {SDL_SCANCODE_AUDIONEXT, kExtended | 0x19},
    {SDL_SCANCODE_AUDIOMUTE, kExtended | 0x20}, {SDL_SCANCODE_MUTE, kExtended | 0x20},
    {SDL_SCANCODE_CALCULATOR, kExtended | 0x21}, {SDL_SCANCODE_AUDIOPLAY, kExtended | 0x22},
    {SDL_SCANCODE_AUDIOSTOP, kExtended | 0x24}, {SDL_SCANCODE_VOLUMEDOWN, kExtended | 0x2E},
    {SDL_SCANCODE_VOLUMEUP, kExtended | 0x30}, {SDL_SCANCODE_AC_HOME, kExtended | 0x32},
    {SDL_SCANCODE_AC_SEARCH, kExtended | 0x65}, {SDL_SCANCODE_AC_BOOKMARKS, kExtended | 0x66},
    {SDL_SCANCODE_AC_REFRESH, kExtended | 0x67}, {SDL_SCANCODE_AC_STOP, kExtended | 0x68},
    {SDL_SCANCODE_AC_FORWARD, kExtended | 0x69}, {SDL_SCANCODE_AC_BACK, kExtended | 0x6A},
    {SDL_SCANCODE_COMPUTER, kExtended | 0x6B}, {SDL_SCANCODE_MAIL, kExtended | 0x6C},
    {SDL_SCANCODE_MEDIASELECT, kExtended | 0x6D},
};

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> BuildTable() {
    std::array<uint8_t, SDL_NUM_SCANCODES> table{};
    for (const KeyPair& k : kKeys) table[k.sdl] = k.code;
    return table;
}

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> kTable = BuildTable();

}  // namespace

int32_t ScanCodeFromSdl(int32_t sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) return 0;
    return kTable[static_cast<size_t>(sdlScancode)];
}
