#pragma once
// Vocabulary of change notification between reference makers and their targets.

#include "host/MaxTypes.h"

class ReferenceMaker;
class ReferenceTarget;
using RefMakerHandle = ReferenceMaker*;
using RefTargetHandle = ReferenceTarget*;

// Answer of a dependent to a notification. Only REF_SUCCEED lets a propagating message travel on
// to the dependent's own dependents.
enum RefResult { REF_FAIL = 0, REF_SUCCEED = 1, REF_DONTCARE = 2, REF_STOP = 3 };

// Which parts of a target changed, as bits.
using PartID = ULONG;
constexpr PartID PART_TOPO = 1 << 0;
constexpr PartID PART_GEOM = 1 << 1;
constexpr PartID PART_TEXMAP = 1 << 2;
constexpr PartID PART_MTL = 1 << 3;
constexpr PartID PART_DISPLAY = 1 << 6;
constexpr PartID PART_ALL = 0x7FFFFFFF;

using RefMessage = unsigned int;
// The target is being destroyed; the dependent's slots that hold it are cleared right after.
constexpr RefMessage REFMSG_TARGET_DELETED = 0x20;
// A value of the target changed.
constexpr RefMessage REFMSG_CHANGE = 0x50;
// The target's set of sub-animatables (or references) changed shape.
constexpr RefMessage REFMSG_SUBANIM_STRUCTURE_CHANGED = 0x110;
// Plug-ins number their own messages from here up.
constexpr RefMessage REFMSG_USER = 0x00010000;
