#include "standalone/document/DocumentPlaces.h"

namespace standalone::document {

void DocumentPlaces::add(ReferenceTarget* object, std::string pointer)
{
    if (!object)
        return;
    entries_.push_back({nullptr, std::move(pointer)});
    ReplaceReference(NumRefs() - 1, object);
}

const std::string* DocumentPlaces::find(const ReferenceTarget* object) const
{
    if (!object)
        return nullptr;
    for (const Entry& e : entries_)
        if (e.object == object)
            return &e.pointer;
    return nullptr;
}

ReferenceTarget* DocumentPlaces::GetReference(int i)
{
    return i >= 0 && i < NumRefs() ? entries_[static_cast<std::size_t>(i)].object : nullptr;
}

void DocumentPlaces::SetReference(int i, ReferenceTarget* target)
{
    if (i >= 0 && i < NumRefs())
        entries_[static_cast<std::size_t>(i)].object = target;
}

}  // namespace standalone::document
