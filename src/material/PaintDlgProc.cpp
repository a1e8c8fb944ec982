#include "material/PaintDlgProc.h"

#include "host/ColorSpace.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "material/MaterialPresets.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "shell/RandomTables.h"

#include <algorithm>
#include <cstdint>

namespace vml {

namespace {

constexpr const char* channelNames[2][3] = {{"R", "G", "B"}, {"H", "S", "V"}};

TimeValue currentTime()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

// A byte of a 24-bit image, widened to the bitmap's 16 bits.
std::uint16_t channel(float v) { return static_cast<std::uint16_t>(static_cast<int>(v * 255.0f) * 257); }

float jitter(std::uint32_t u, float amount) { return (float(u) / 65536.0f - 0.5f) * amount * 0.02f; }

}  // namespace

Bitmap renderColorRange(const ColorRangeInputs& in, int width, int height)
{
    Bitmap image(width, height);
    const Color hsvBase = RGBtoHSV(in.base);
    std::uint32_t s = 0;
    for (int y = 0; y < height; ++y) {
        BMM_Color_64* row = image.Row(y);
        for (int x = 0; row && x < width; ++x) {
            if (y == 0 || y == height - 1 || x == 0 || x == width - 1) {
                row[x] = BMM_Color_64{0, 0, 0, 0xFFFF};
                continue;
            }
            const std::uint32_t u1 = lcgNext(s), u2 = lcgNext(u1), u3 = lcgNext(u2);
            s = u3;
            float dr = jitter(u1, in.amountR);
            const float dg = jitter(u2, in.amountG), db = jitter(u3, in.amountB);
            Color c;
            if (in.type == 1) {
                dr *= 0.5f;
                float h = hsvBase.r + dr;
                while (h > 1.0f)
                    h -= 1.0f;
                while (h < 0.0f)
                    h += 1.0f;
                c = HSVtoRGB(Color(std::clamp(h, 0.0f, 1.0f), std::clamp(hsvBase.g + dg, 0.0f, 1.0f),
                                   std::clamp(hsvBase.b + db, 0.0f, 1.0f)));
            } else {
                c = Color(std::clamp(in.base.r + dr, 0.0f, 1.0f), std::clamp(in.base.g + dg, 0.0f, 1.0f),
                          std::clamp(in.base.b + db, 0.0f, 1.0f));
            }
            row[x] = BMM_Color_64{channel(c.r), channel(c.g), channel(c.b), 0xFFFF};
        }
    }
    return image;
}

INT_PTR PaintDlgProc::DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    track(page, msg);
    DialogService* ui = GetDialogService();
    IParamBlock2* block = material_ ? material_->paintBlock() : nullptr;
    switch (msg) {
    case WM_INITDIALOG:
        if (ui)
            ui->SetItems(page, controlBlend, blendMethodNames());
        drawn_ = false;
        update(t);
        return TRUE;
    case WM_PAINT: redrawPreview(true); return TRUE;
    case WM_DESTROY: return TRUE;
    case WM_COMMAND: break;
    default: return FALSE;
    }
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == controlBlend && code == CBN_SELCHANGE && ui && block) {
        const int index = ui->GetSelection(page, controlBlend);
        // The same entry again changes nothing and sends no change notice.
        if (index >= 0 && index != block->GetInt(paintParam::paintBlendMethod, 0)) {
            block->SetValue(paintParam::paintBlendMethod, 0, index);
            if (map)
                map->UpdateUI(t);
        }
        return TRUE;
    }
    if ((id == controlRgb || id == controlHsv) && code == BN_CLICKED && material_) {
        material_->setPaintColorType(id == controlHsv ? 1 : 0);
        showColorType(t);
        return TRUE;
    }
    if (id == controlSetDefault && code == BN_CLICKED && block) {
        setMaterialPresetFromBlock(*block);
        return TRUE;
    }
    return FALSE;
}

void PaintDlgProc::update(TimeValue t)
{
    DialogService* ui = GetDialogService();
    IParamBlock2* block = material_ ? material_->paintBlock() : nullptr;
    if (!ui || !page_ || !block)
        return;
    ui->SetSelection(page_, controlBlend, block->GetInt(paintParam::paintBlendMethod, t));
    showColorType(t);
    redrawPreview(false);
}

void PaintDlgProc::showColorType(TimeValue t)
{
    DialogService* ui = GetDialogService();
    IParamBlock2* block = material_ ? material_->paintBlock() : nullptr;
    if (!ui || !page_ || !block)
        return;
    const int type = block->GetInt(paintParam::paintColorType, t) == 1 ? 1 : 0;
    ui->SetCheck(page_, controlRgb, type == 0);
    ui->SetCheck(page_, controlHsv, type == 1);
    for (int k = 0; k < 3; ++k)
        ui->SetText(page_, controlFirstChannel + k, channelNames[type][k]);
}

void PaintDlgProc::redrawPreview(bool force)
{
    DialogService* ui = GetDialogService();
    IParamBlock2* paint = material_ ? material_->paintBlock() : nullptr;
    IParamBlock2* base = material_ ? material_->baseBlock() : nullptr;
    if (!ui || !page_ || !paint || !base)
        return;
    const TimeValue t = currentTime();
    ColorRangeInputs in;
    in.base = base->GetColor(baseParam::baseMatColor, t);
    in.type = paint->GetInt(paintParam::paintColorType, t);
    in.amountR = paint->GetFloat(paintParam::paintColorR, t);
    in.amountG = paint->GetFloat(paintParam::paintColorG, t);
    in.amountB = paint->GetFloat(paintParam::paintColorB, t);
    const bool changed = !drawn_ || !(in == drawnFrom_);
    if (!changed && !force)
        return;
    if (changed) {
        drawnFrom_ = in;
        drawn_ = true;
        const ImageSize size = imageControlSize(111, controlPreview);
        image_ = renderColorRange(in, size.width + 1, size.height + 1);
    }
    ui->SetImage(page_, controlPreview, &image_);
}

}  // namespace vml
