#pragma once
// Render effects: post-processes applied to the finished image, in list order, with the G-buffer
// channels they ask for.

#include "host/ParamDlg.h"
#include "host/ReferenceTarget.h"

#include <string>

class Bitmap;
class RenderGlobalContext;

class CheckAbortCallback {
public:
    virtual ~CheckAbortCallback() = default;
    virtual BOOL Check() = 0;                        // TRUE: stop
    virtual BOOL Progress(int done, int total) = 0;  // TRUE: stop
    virtual void SetTitle(const char* title) = 0;
};

class SpecialFX : public ReferenceTarget {
public:
    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    virtual BOOL Active(TimeValue t)
    {
        (void)t;
        return active_;
    }
    void SetActive(BOOL on) { active_ = on; }

private:
    std::string name_;
    BOOL active_ = TRUE;
};

class Effect : public SpecialFX {
public:
    SClass_ID SuperClassID() override { return RENDER_EFFECT_CLASS_ID; }
    // G-buffer channel bits the effect reads.
    virtual DWORD GBufferChannelsRequired(TimeValue t)
    {
        (void)t;
        return 0;
    }
    virtual void Apply(TimeValue t, Bitmap* bm, RenderGlobalContext* gc, CheckAbortCallback* cb) = 0;
    // The effect's rollouts in the render effects dialog; nullptr when it has none or the host
    // shows no dialogs. The dialog deletes it.
    virtual EffectParamDlg* CreateParamDialog(IRendParams* ip)
    {
        (void)ip;
        return nullptr;
    }
};
