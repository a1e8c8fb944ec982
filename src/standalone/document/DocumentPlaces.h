#pragma once
// Where each object made from a scene document sits in it: the JSON pointer of its {"class": ...}
// object (or of a line element's entry). Saving edits writes changed values there. The registry
// refers to every object it places, so an object deleted later (a removed line element) drops
// out instead of leaving an address a new object could take over.

#include "host/ReferenceMaker.h"

#include <string>
#include <vector>

namespace standalone::document {

class DocumentPlaces final : public ReferenceMaker {
public:
    void add(ReferenceTarget* object, std::string pointer);
    // The pointer of a live object placed here, or nullptr.
    const std::string* find(const ReferenceTarget* object) const;

    int NumRefs() override { return static_cast<int>(entries_.size()); }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;

private:
    struct Entry {
        ReferenceTarget* object = nullptr;  // nullptr once deleted
        std::string pointer;
    };
    std::vector<Entry> entries_;
};

}  // namespace standalone::document
