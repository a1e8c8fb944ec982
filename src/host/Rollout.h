#pragma once
// Flags of automatic rollouts.

#include "host/MaxTypes.h"

constexpr DWORD APPENDROLL_CLOSED = 0x0001;  // the rollout starts rolled up
