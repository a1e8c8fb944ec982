#include "line/LineFxElement.h"

#include "host/ClassDesc2.h"
#include "host/GBufferChannels.h"
#include "host/IParamBlock2.h"
#include "host/Texmap.h"
#include "line/EdgeDetection.h"
#include "line/LineDefaultSettings.h"
#include "line/LineElementType.h"
#include "line/LineFiles.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "line/LineRollouts.h"
#include "line/LineSettingsFile.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <memory>
#include <new>

namespace vml {

namespace {

// The detection switches in record order (words 29-33).
constexpr ParamID detectionSwitches[5] = {lineParam::outlineObject, lineParam::outlineMaterial,
                                          lineParam::edgeMaterial, lineParam::edgeDepth, lineParam::normal};

// Their words in the record, same order.
constexpr std::int32_t LineSettings::*switchWords[] = {
    &LineSettings::outlineObject, &LineSettings::outlineMaterial, &LineSettings::edgeMaterial,
    &LineSettings::edgeDepth, &LineSettings::normal};

}  // namespace

LineFxElement::LineFxElement()
{
    const char* name = getString(strings::lineElementClass);
    SetName(name ? name : "");
    makeBlocks();
    // The first element of the process supplies the defaults every element starts from.
    if (!lineDefaultSettingsFilled())
        readLineSettingsFile(*this);
    resetToDefaults();
}

void LineFxElement::makeBlocks()
{
    if (ClassDesc2* cd = lineFxElementParamsBlock().GetClassDesc()) {
        cd->MakeAutoParamBlocks(this);
        return;
    }
    for (auto desc : {lineFxElementParamsBlock, lineFxElementPaintBlock}) {
        ParamBlockDesc2& d = desc();
        ReplaceReference(d.RefNo(), adopt(std::make_unique<IParamBlock2>(&d, this)));
    }
}

void LineFxElement::GetClassName(std::string& s)
{
    const char* text = getString(strings::lineElementClass);
    s = text ? text : "";
}

IParamBlock2* LineFxElement::GetParamBlock(int i)
{
    switch (i) {
    case 0: return pblock_;
    case 1: return paintBlock_;
    default: return nullptr;
    }
}

ReferenceTarget* LineFxElement::GetReference(int i)
{
    switch (i) {
    case pblockRef: return pblock_;
    case paintBlockRef: return paintBlock_;
    case lineMapRef: return lineMap_;
    default: return nullptr;
    }
}

void LineFxElement::SetReference(int i, ReferenceTarget* target)
{
    switch (i) {
    case pblockRef:
        pblock_ = dynamic_cast<IParamBlock2*>(target);
        // A block restored without an owner reaches the line map through this element.
        if (pblock_ && !pblock_->GetOwner())
            pblock_->SetOwner(this);
        followBlockType();
        break;
    case paintBlockRef:
        paintBlock_ = dynamic_cast<IParamBlock2*>(target);
        if (paintBlock_ && !paintBlock_->GetOwner())
            paintBlock_->SetOwner(this);
        break;
    case lineMapRef: lineMap_ = dynamic_cast<Texmap*>(target); break;
    default: break;
    }
}

RefResult LineFxElement::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&,
                                          RefMessage message, BOOL)
{
    runFileNameChange(
        pblock_, hTarget, message, lineParam::lineLoad, lineParam::lineSave,
        [this](const std::string& path) { loadElementFile(*this, path); },
        [this](const std::string& path) { saveElementFile(*this, path); });
    LineRollouts* rollouts = manager_ ? manager_->rollouts() : nullptr;
    if (rollouts && message == REFMSG_CHANGE && hTarget && (hTarget == pblock_ || hTarget == paintBlock_))
        rollouts->elementChanged(*this, hTarget == paintBlock_,
                                 static_cast<IParamBlock2*>(hTarget)->LastNotifyParamID());
    return REF_SUCCEED;
}

void LineFxElement::followBlockType()
{
    if (!loaded_ || !pblock_)
        return;
    const int stored = pblock_->GetInt(lineParam::elemID);
    type_ = isLineElementType(stored) ? stored : lineElementTypeNone;
}

DWORD LineFxElement::GBufferChannelsRequired(TimeValue t)
{
    if (!pblock_ || !pblock_->GetInt(lineParam::lineOn, 0))
        return 0;
    EdgeRules rules;
    rules.outlineObject = pblock_->GetInt(lineParam::outlineObject, 0) != 0;
    rules.outlineMaterial = pblock_->GetInt(lineParam::outlineMaterial, 0) != 0;
    rules.edgeMaterial = pblock_->GetInt(lineParam::edgeMaterial, 0) != 0;
    rules.edgeDepth = pblock_->GetInt(lineParam::edgeDepth, 0) != 0;
    rules.normal = pblock_->GetInt(lineParam::normal, 0) != 0;
    DWORD bits = edgeChannelsRequired(rules);
    if (pblock_->GetFloat(lineParam::lineBlur, t) != 0.0f)
        bits |= BMM_CHAN_VELOC;
    return bits;
}

void LineFxElement::readLineWords(TimeValue t, LineSettings& s)
{
    if (!pblock_)
        return;
    using namespace lineParam;
    IParamBlock2& b = *pblock_;
    s.lineOn = b.GetInt(lineOn, t);
    s.lineMatID = b.GetInt(lineMatID, t);
    s.lineBlend = b.GetInt(lineBlend, t);
    s.lineAlpha = b.GetFloat(lineAlpha, t);
    const Color c = b.GetColor(lineColor, t);
    s.lineColor[0] = c.r;
    s.lineColor[1] = c.g;
    s.lineColor[2] = c.b;
    s.lineMapOpacity = b.GetFloat(lineMapOpacity, t);
    s.lineMapEnable = b.GetInt(lineMapEnable, t);
    s.lineWidth = b.GetFloat(lineWidth, t);
    s.lineDeform = b.GetFloat(lineDeform, t);
    s.lineStretch = b.GetFloat(lineStretch, t);
    s.lineAngle = b.GetFloat(lineAngle, t);
    s.lineZMin = b.GetFloat(lineZMin, t);
    s.lineZMax = b.GetFloat(lineZMax, t);
    s.lineZScaleEnable = b.GetInt(lineZScaleEnable, t);
    s.lineZAlphaMin = b.GetFloat(lineZAlphaMin, t);
    s.lineZAlphaMax = b.GetFloat(lineZAlphaMax, t);
    s.lineZAlphaMinValue = b.GetFloat(lineZAlphaMinValue, t);
    s.lineZAlphaMaxValue = b.GetFloat(lineZAlphaMaxValue, t);
    s.lineZAlphaEnable = b.GetInt(lineZAlphaEnable, t);
    s.lineBlur = b.GetFloat(lineBlur, t);
    s.lineBlurOffset = b.GetFloat(lineBlurOffset, t);
    s.outlineObjectThreshold = b.GetFloat(outlineObjectThreshold, t);
    s.outlineMaterialThreshold = b.GetFloat(outlineMaterialThreshold, t);
    s.edgeDepthThreshold = b.GetFloat(edgeDepthThreshold, t);
    s.normalMin = b.GetFloat(normalMin, t);
    s.normalMax = b.GetFloat(normalMax, t);
    s.normalDepth = b.GetFloat(normalDepth, t);
    for (int i = 0; i < 5; ++i)
        s.*switchWords[i] = b.GetInt(detectionSwitches[i], t);
}

void LineFxElement::readPaintWords(TimeValue t, LineSettings& s)
{
    if (!paintBlock_)
        return;
    using namespace linePaintParam;
    IParamBlock2& b = *paintBlock_;
    s.paintColorType = b.GetInt(paintColorType, t);
    s.paintColorR = b.GetFloat(paintColorR, t);
    s.paintColorG = b.GetFloat(paintColorG, t);
    s.paintColorB = b.GetFloat(paintColorB, t);
    s.paintBlur = b.GetFloat(paintBlur, t);
    s.paintBlurRnd = b.GetFloat(paintBlurRnd, t);
    s.paintBlurBound = b.GetFloat(paintBlurBound, t);
    s.paintBlurBoundRnd = b.GetFloat(paintBlurBoundRnd, t);
    s.paintMix = b.GetFloat(paintMix, t);
    s.paintMixRnd = b.GetFloat(paintMixRnd, t);
    s.paintWind = b.GetFloat(paintWind, t);
    s.paintWindRnd = b.GetFloat(paintWindRnd, t);
    s.paintWindAngle = b.GetFloat(paintWindAngle, t);
    s.paintRndSizeEnable = b.GetInt(paintRndSizeEnable, t);
    s.paintRndSize = b.GetFloat(paintRndSize, t);
    s.paintDry = b.GetFloat(paintDry, t);
    s.paintDryRnd = b.GetFloat(paintDryRnd, t);
}

void LineFxElement::readSettings(TimeValue t, LineSettings& s)
{
    readLineWords(t, s);
    readPaintWords(t, s);
}

bool LineFxElement::refreshSettings(TimeValue t)
{
    readSettings(t, settings_);
    return updateLineDerived(settings_, shape_);
}

void LineFxElement::applySettings(TimeValue t, const LineSettings& s, bool fromFile)
{
    if (pblock_) {
        using namespace lineParam;
        IParamBlock2& b = *pblock_;
        b.SetValue(lineOn, t, s.lineOn);
        b.SetValue(lineMatID, t, s.lineMatID);
        b.SetValue(lineBlend, t, s.lineBlend);
        b.SetValue(lineAlpha, t, s.lineAlpha);
        b.SetValue(lineColor, t, Color(s.lineColor[0], s.lineColor[1], s.lineColor[2]));
        b.SetValue(lineMapOpacity, t, s.lineMapOpacity);
        b.SetValue(lineMapEnable, t, s.lineMapEnable);
        b.SetValue(lineWidth, t, s.lineWidth);
        b.SetValue(lineDeform, t, s.lineDeform);
        b.SetValue(lineStretch, t, s.lineStretch);
        b.SetValue(lineAngle, t, s.lineAngle);
        b.SetValue(lineZMin, t, s.lineZMin);
        b.SetValue(lineZMax, t, s.lineZMax);
        b.SetValue(lineZScaleEnable, t, s.lineZScaleEnable);
        b.SetValue(lineZAlphaMin, t, s.lineZAlphaMin);
        b.SetValue(lineZAlphaMax, t, s.lineZAlphaMax);
        b.SetValue(lineZAlphaMinValue, t, s.lineZAlphaMinValue);
        b.SetValue(lineZAlphaMaxValue, t, s.lineZAlphaMaxValue);
        b.SetValue(lineZAlphaEnable, t, s.lineZAlphaEnable);
        b.SetValue(lineBlur, t, s.lineBlur);
        b.SetValue(lineBlurOffset, t, s.lineBlurOffset);
        b.SetValue(outlineObjectThreshold, t, s.outlineObjectThreshold);
        b.SetValue(outlineMaterialThreshold, t, s.outlineMaterialThreshold);
        b.SetValue(edgeDepthThreshold, t, s.edgeDepthThreshold);
        b.SetValue(normalMin, t, s.normalMin);
        b.SetValue(normalMax, t, s.normalMax);
        b.SetValue(normalDepth, t, s.normalDepth);
        if (fromFile) {
            for (int i = 0; i < 5; ++i) {
                if (acceptsDetectionSwitch(type_, detectionSwitches[i]))
                    b.SetValue(detectionSwitches[i], t, s.*switchWords[i]);
            }
        }
    }
    if (paintBlock_) {
        using namespace linePaintParam;
        IParamBlock2& b = *paintBlock_;
        b.SetValue(paintColorType, t, s.paintColorType);
        b.SetValue(paintColorR, t, s.paintColorR);
        b.SetValue(paintColorG, t, s.paintColorG);
        b.SetValue(paintColorB, t, s.paintColorB);
        b.SetValue(paintBlur, t, s.paintBlur);
        b.SetValue(paintBlurRnd, t, s.paintBlurRnd);
        b.SetValue(paintBlurBound, t, s.paintBlurBound);
        b.SetValue(paintBlurBoundRnd, t, s.paintBlurBoundRnd);
        b.SetValue(paintMix, t, s.paintMix);
        b.SetValue(paintMixRnd, t, s.paintMixRnd);
        b.SetValue(paintWind, t, s.paintWind);
        b.SetValue(paintWindRnd, t, s.paintWindRnd);
        b.SetValue(paintWindAngle, t, s.paintWindAngle);
        b.SetValue(paintRndSizeEnable, t, s.paintRndSizeEnable);
        b.SetValue(paintRndSize, t, s.paintRndSize);
        b.SetValue(paintDry, t, s.paintDry);
        b.SetValue(paintDryRnd, t, s.paintDryRnd);
    }
}

void LineFxElement::setType(int type)
{
    const int previous = type_;
    type_ = type;
    if (!pblock_)
        return;
    pblock_->SetValue(lineParam::elemID, 0, type);
    const ParamID sw = defaultDetectionSwitch(type);
    if (previous < 0 && sw >= 0)
        pblock_->SetValue(sw, 0, 1);
}

void LineFxElement::setDefaultName()
{
    if (!pblock_)
        return;
    const char* text = getString(lineElementTypeNameId(type_));
    pblock_->SetValue(lineParam::lineName, 0, text ? text : "");
}

void LineFxElement::resetToDefaults()
{
    const int type = type_;
    if (pblock_) {
        // The whole name is kept, however long.
        const char* current = pblock_->GetStr(lineParam::lineName);
        const std::string name = current ? current : "";
        pblock_->ResetAll();
        pblock_->SetValue(lineParam::lineName, 0, name);
    }
    type_ = lineElementTypeNone;
    setType(type);
    applySettings(0, lineDefaultSettings(), false);
}

ReferenceTarget* LineFxElement::Clone()
{
    std::unique_ptr<LineFxElement> copy;
    try {
        copy = std::make_unique<LineFxElement>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (pblock_ && copy->pblock_)
        copy->pblock_->CopyValuesFrom(*pblock_);
    if (paintBlock_ && copy->paintBlock_)
        copy->paintBlock_->CopyValuesFrom(*paintBlock_);
    copy->type_ = type_;
    copy->settings_ = settings_;
    if (lineMap_) {
        // A map that cannot be copied is shared, as the scene's other users share it.
        ReferenceTarget* map = lineMap_;
        if (ReferenceTarget* own = lineMap_->Clone())
            map = copy->adoptOwned(std::unique_ptr<ReferenceTarget>(own));
        copy->ReplaceReference(lineMapRef, map);
    }
    copy->SetName(GetName());
    return copy.release();
}

IOResult LineFxElement::Save(ISave* isave)
{
    isave->BeginChunk(markerChunk);
    isave->EndChunk();
    return Effect::Save(isave);
}

IOResult LineFxElement::Load(ILoad* iload)
{
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CurChunkID() == markerChunk)
            loadedFromScene_ = true;
        if (iload->CloseChunk() != IO_OK)
            return IO_ERROR;
    }
    if (res != IO_END)
        return res;
    loaded_ = true;
    followBlockType();
    return Effect::Load(iload);
}

}  // namespace vml
