#pragma once
// Scalar types and handles of the host SDK, as the plug-in code spells them.

#include <cstdint>

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

using BYTE = std::uint8_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;

// Opaque handles. The standalone host gives them no meaning beyond identity.
using HWND = void*;
using HINSTANCE = void*;

// Host time: ticks, 4800 per second.
using TimeValue = int;
constexpr int TIME_TICKSPERSEC = 4800;
constexpr TimeValue TIME_NegInfinity = -0x7FFFFFFF;
constexpr TimeValue TIME_PosInfinity = 0x7FFFFFFF;
