#pragma once
// Writing what was changed in a scene back into the scene document it was read from. Taken when
// the scene is loaded, a snapshot holds every object's parameters in document form; saving
// compares them with what the objects hold now and patches only the changed values' text
// (JsonTextPatch) in the document's text as it was then, so comments, order and formatting stay,
// and a value changed by an earlier save and changed back is written back too. Nothing is written when a
// change has no place in the document: an object a model file, a look or a lines file made, parts added,
// removed or moved (line elements), or a reference to an object the document cannot name.

#include "host/ReferenceMaker.h"
#include "standalone/document/JsonLocation.h"

#include <string>
#include <vector>

namespace standalone {
class Scene;
}

namespace standalone::document {

struct DocumentEdit {
    std::string pointer;  // where in the document
    Json value;
};

class DocumentEdits final : public ReferenceMaker {
public:
    // Snapshots every object reachable from the scene, which was read from the document as it is
    // on disk now.
    explicit DocumentEdits(Scene& scene);
    // The same for a scene read from baseText, with the document on disk holding diskText.
    DocumentEdits(Scene& scene, std::string baseText, std::string diskText);
    ~DocumentEdits() override;

    // The changes since the snapshot, in document order of their objects. Empty with `problem`
    // set when one of them cannot be written.
    std::vector<DocumentEdit> edits(std::string& problem);

    // Writes the base text with the changes into the document (a new file renamed over it, so a
    // failed write leaves it as it was). Answers the number of values that differ from the base,
    // or -1 with `problem` set: a change with no place, a document changed on disk by someone
    // else, a scene that is not from a document, a failed write.
    int save(std::string& problem);
    // What the document on disk holds, as far as this knows.
    const std::string& diskText() const { return disk_; }

    int NumRefs() override { return static_cast<int>(watched_.size()); }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;

private:
    struct Snapshot {
        ReferenceTarget* object = nullptr;
        std::string place;                    // empty when the document did not make it
        Json values;                          // parameterValues at the snapshot
        std::vector<ReferenceTarget*> parts;  // its references other than parameter blocks
    };
    void take(std::string baseText);
    std::vector<ReferenceTarget*> reachable();
    std::string describe(ReferenceTarget& object, const std::string& place);

    Scene& scene_;
    std::string base_;  // the document's text the scene was read from
    std::string disk_;  // what the document on disk holds: base_ or the last text written
    std::vector<Snapshot> snapshots_;
    std::vector<ReferenceTarget*> watched_;  // snapshot objects and their parts; nullptr once deleted
    bool deleted_ = false;                   // one of them was deleted since the snapshot
};

}  // namespace standalone::document
