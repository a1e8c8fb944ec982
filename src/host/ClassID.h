#pragma once
// Class identity: a class id (two 32-bit words) and the super-class id of its family.

#include "host/MaxTypes.h"

#include <functional>

class Class_ID {
public:
    constexpr Class_ID() = default;
    constexpr Class_ID(ULONG a, ULONG b) : a_(a), b_(b) {}
    constexpr ULONG PartA() const { return a_; }
    constexpr ULONG PartB() const { return b_; }
    constexpr bool operator==(const Class_ID&) const = default;
    constexpr auto operator<=>(const Class_ID&) const = default;

private:
    ULONG a_ = 0xFFFFFFFF, b_ = 0xFFFFFFFF;
};

using SClass_ID = ULONG;

// Super-class ids of the families the system's classes belong to.
constexpr SClass_ID MATERIAL_CLASS_ID = 0x0C00;
constexpr SClass_ID TEXMAP_CLASS_ID = 0x0C10;
constexpr SClass_ID RENDERER_CLASS_ID = 0x0F00;
constexpr SClass_ID RENDER_EFFECT_CLASS_ID = 0x1090;
constexpr SClass_ID RENDER_ELEMENT_CLASS_ID = 0x1150;
constexpr SClass_ID PARAMETER_BLOCK2_CLASS_ID = 0x0083;

template <> struct std::hash<Class_ID> {
    std::size_t operator()(const Class_ID& id) const noexcept
    {
        return std::hash<unsigned long long>{}((static_cast<unsigned long long>(id.PartA()) << 32) |
                                               id.PartB());
    }
};
