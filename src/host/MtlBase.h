#pragma once
// What materials and texture maps have in common: a name, a validity interval, an update at a
// time, and the requirement bits the renderer asks for.

#include "host/Interval.h"
#include "host/ParamDlg.h"
#include "host/ReferenceTarget.h"

#include <string>

class Texmap;

// Requirement bits (MtlBase::Requirements).
constexpr ULONG MTLREQ_2SIDE = 1 << 0;    // shade back faces too
constexpr ULONG MTLREQ_TRANSP = 1 << 2;   // may be transparent
constexpr ULONG MTLREQ_UV = 1 << 4;       // needs texture coordinates
constexpr ULONG MTLREQ_BUMPUV = 1 << 7;   // needs the UV derivatives for bump
constexpr ULONG MTLREQ_NOATMOS = 0x2000;  // atmosphere is applied by the material itself

class MtlBase : public ReferenceTarget {
public:
    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Brings cached values up to time t and narrows valid to the interval they hold for.
    virtual void Update(TimeValue t, Interval& valid) = 0;
    virtual void Reset() {}
    // The object's rollouts in the material editor (hwMtlEdit: the editor's window; imp: its
    // parameters; this host passes none); nullptr when it has none or the host shows no dialogs.
    // The editor deletes it.
    virtual ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp)
    {
        (void)hwMtlEdit, (void)imp;
        return nullptr;
    }
    virtual Interval Validity(TimeValue t)
    {
        Interval v = FOREVER;
        Update(t, v);
        return v;
    }
    // subMtlNum -1: for the material as a whole.
    virtual ULONG Requirements(int subMtlNum)
    {
        (void)subMtlNum;
        return 0;
    }
    // Loads the files (bitmaps) the object and its sub-maps need at time t; false on failure.
    virtual bool LoadMapFiles(TimeValue t)
    {
        (void)t;
        return true;
    }

    // Sub-maps: texture maps this object holds in numbered slots.
    virtual int NumSubTexmaps() { return 0; }
    virtual Texmap* GetSubTexmap(int i)
    {
        (void)i;
        return nullptr;
    }
    virtual void SetSubTexmap(int i, Texmap* m) { (void)i, (void)m; }

    // Material-effects (G-buffer) channel, 0..255; 0 = none.
    ULONG GetGBufferID() const { return gbufID_; }
    void SetGBufferID(ULONG id) { gbufID_ = id & 0xFF; }

private:
    std::string name_;
    ULONG gbufID_ = 0;
};
