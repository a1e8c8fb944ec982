#pragma once
// The rollouts of one material, map or effect in the host's editor; deleting it closes them.

#include "host/MaxTypes.h"

class ReferenceTarget;

// The host's material editor and render dialogs. This host's pages go to the dialog service
// (DialogService.h), so it passes none.
class IMtlParams;
class IRendParams;

class ParamDlg {
public:
    virtual ~ParamDlg() = default;
    // The editor now shows another object of the same class in these rollouts.
    virtual void SetThing(ReferenceTarget* thing) { (void)thing; }
    virtual ReferenceTarget* GetThing() { return nullptr; }
    // The editor's time changed: controls show the values at t.
    virtual void SetTime(TimeValue t) { (void)t; }
    // The object changed other than through the rollouts: show it again.
    virtual void ReloadDialog() {}
};

using EffectParamDlg = ParamDlg;
