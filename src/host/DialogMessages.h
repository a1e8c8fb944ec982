#pragma once
// Messages a rollout page's procedure receives, and their parameters, in the host SDK's terms.
//
//   WM_INITDIALOG       the page opened; its controls exist and bound ones hold their values
//   WM_COMMAND          a control was used: LOWORD(wParam) its id, HIWORD(wParam) the notification
//                       (BN_CLICKED, CBN_SELCHANGE, LBN_SELCHANGE, EN_CHANGE, TCN_SELCHANGE)
//   CC_SPINNER_CHANGE   a spinner's value changed: LOWORD(wParam) its id
//   CC_COLOR_CHANGE     a colour swatch's colour changed: LOWORD(wParam) its id
//   WM_PAINT            the page (or a preview in it) is to be drawn again
//   WM_DESTROY          the page closes
//
// A tab row's change arrives as WM_COMMAND with TCN_SELCHANGE in this host, where a desktop host
// sends a notification record; the procedure reads the new tab with GetSelection.

#include "host/MaxTypes.h"

#include <cstdint>

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using INT_PTR = std::intptr_t;

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT CC_SPINNER_CHANGE = 0x0400 + 600;
constexpr UINT CC_COLOR_CHANGE = 0x0400 + 603;

constexpr WORD BN_CLICKED = 0;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD TCN_SELCHANGE = 0x0551;

constexpr WORD LOWORD(WPARAM w) { return static_cast<WORD>(w & 0xFFFF); }
constexpr WORD HIWORD(WPARAM w) { return static_cast<WORD>((w >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return WPARAM(low) | (WPARAM(high) << 16); }
