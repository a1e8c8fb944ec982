#pragma once
// Reference makers and targets for tests: fixed slot arrays and a log of what they were told.

#include "host/ReferenceTarget.h"

#include <functional>
#include <vector>

namespace test_support {

class RecordingTarget : public ReferenceTarget {
public:
    struct Message {
        ReferenceTarget* from;
        RefMessage message;
    };

    explicit RecordingTarget(int numRefs = 0, Class_ID id = Class_ID(1, 2)) : slots(numRefs), id_(id) {}

    int NumRefs() override { return static_cast<int>(slots.size()); }
    ReferenceTarget* GetReference(int i) override { return inRange(i) ? slots[std::size_t(i)] : nullptr; }
    void SetReference(int i, ReferenceTarget* t) override
    {
        if (inRange(i))
            slots[std::size_t(i)] = t;
    }
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget* from, PartID&, RefMessage message,
                               BOOL) override
    {
        received.push_back({from, message});
        if (onNotify)
            onNotify(from, message);
        return answer;
    }
    Class_ID ClassID() override { return id_; }

    int count(RefMessage message) const
    {
        int n = 0;
        for (const Message& m : received)
            n += m.message == message;
        return n;
    }

    std::vector<ReferenceTarget*> slots;
    std::vector<Message> received;
    RefResult answer = REF_SUCCEED;
    std::function<void(ReferenceTarget*, RefMessage)> onNotify;

private:
    bool inRange(int i) const { return i >= 0 && i < static_cast<int>(slots.size()); }
    Class_ID id_;
};

}  // namespace test_support
