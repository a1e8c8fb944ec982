#include "line/LineRollouts.h"

#include "host/Bitmap.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/ParamMap2.h"
#include "host/Rollout.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineSettingsFile.h"
#include "line/LineStamp.h"
#include "paint/Blend.h"
#include "resources/DialogTemplates.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <algorithm>

namespace vml {

namespace {

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

TimeValue now()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

std::string text(int id)
{
    const char* s = getString(id);
    return s ? s : "";
}

const DialogTemplate* dialog(int id) { return resources::findDialogTemplate(id, textLanguage()); }

int elementTemplate(int type)
{
    switch (type) {
    case Outline: return 119;
    case EdgeBoundary: return 117;
    case NormalAngle: return 118;
    default: return 115;
    }
}

// A file dialog from the rollouts; the chosen path, or empty when cancelled.
std::string pickFile(int titleId, int filterId, const std::string& initial, bool save)
{
    DialogService* ui = GetDialogService();
    FilePickRequest request{text(titleId), text(filterId), initial, save};
    return ui && ui->PickFile(request) ? request.path : std::string();
}

std::string elementName(const LineFxElement* e)
{
    const char* name = e && e->pblock() ? e->pblock()->GetStr(lineParam::lineName) : nullptr;
    return name ? name : "";
}

constexpr BMM_Color_64 black{0, 0, 0, 0xFFFF};
constexpr BMM_Color_64 white{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};

// The preview's picture: one pixel per dialog unit of the control.
Bitmap previewCanvas(const DialogTemplate* t, int id)
{
    const DialogControl* c = t ? t->find(id) : nullptr;
    return c ? Bitmap(c->width, c->height) : Bitmap();
}

void frame(Bitmap& bm)
{
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x)
            if (x == 0 || y == 0 || x == bm.Width() - 1 || y == bm.Height() - 1)
                bm.Row(y)[x] = black;
}

// The main rollout: the element list and its buttons, the lines-file buttons.
class LineCommonDlgProc final : public ParamMap2UserDlgProc {
public:
    explicit LineCommonDlgProc(LineRollouts& r) : r_(r) {}

    INT_PTR DlgProc(TimeValue t, IParamMap2*, HWND page, UINT msg, WPARAM wParam, LPARAM) override
    {
        DialogService* ui = GetDialogService();
        if (!ui)
            return FALSE;
        page_ = page;
        if (msg == WM_INITDIALOG) {
            std::vector<std::string> types;
            for (int type = 0; type < lineElementTypeCount; ++type)
                types.push_back(text(lineElementTypeNameId(type)));
            ui->SetItems(page, 1033, types);
            return TRUE;
        }
        if (msg != WM_COMMAND)
            return FALSE;
        const int id = LOWORD(wParam);
        if (id == 1034 && HIWORD(wParam) == LBN_SELCHANGE) {
            select(ui->GetSelection(page, 1034));
            return TRUE;
        }
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        switch (id) {
        case 1035: add(*ui); break;
        case 1036: remove(*ui); break;
        case 1038: move(-1); break;
        case 1039: move(+1); break;
        case 1040: copy(); break;
        case 1077:
            setFileName(
                lineFxParam::lineLoadAll,
                pickFile(strings::linesOpenCaption, strings::linesFileFilter, linesFileInitialPath(), false),
                t);
            break;
        case 1078:
            setFileName(
                lineFxParam::lineSaveAll,
                pickFile(strings::linesSaveCaption, strings::linesFileFilter, linesFileInitialPath(), true),
                t);
            break;
        default: return FALSE;
        }
        return TRUE;
    }

private:
    LineFxManager& fx() { return r_.effect(); }

    void select(int row)
    {
        if (row == fx().selected() || row < 0 || row >= fx().elementCount())
            return;
        fx().setSelected(row);
        r_.rebuildChildren();
    }

    void showSelection(int row)
    {
        fx().setSelected(row);
        r_.refreshList();
        r_.rebuildChildren();
    }

    // Each new element goes right after the current row, so the types end up reversed after it.
    void add(DialogService& ui)
    {
        const std::vector<int> types = ui.GetSelections(page_, 1033);
        if (types.empty())
            return;
        const int current = ui.GetSelection(page_, 1034);
        int added = 0;
        for (int type : types)
            if (fx().addElement(type, current + 1))
                ++added;
        showSelection(current + added);
    }

    void remove(DialogService& ui)
    {
        std::vector<int> rows = ui.GetSelections(page_, 1034);
        if (rows.empty())
            return;
        // From the bottom up, so the rows still to go keep their places; the shown element's pages
        // close first, as it may be among them.
        std::sort(rows.rbegin(), rows.rend());
        r_.emptyChildren();
        for (int row : rows)
            fx().removeElement(row);
        const int count = fx().elementCount();
        showSelection(count == 0 ? 0 : std::clamp(rows.back() - 1, 0, count - 1));
    }

    void move(int by)
    {
        const int row = fx().selected();
        if (by < 0 ? !fx().moveUp(row) : !fx().moveDown(row))
            return;
        fx().setSelected(row + by);
        r_.refreshList();
    }

    void copy()
    {
        if (fx().copySelected())
            showSelection(fx().elementCount() - 1);
    }

    // Setting a file name runs the load or save; a load brings new elements and selects the last.
    void setFileName(ParamID id, const std::string& path, TimeValue t)
    {
        if (path.empty() || !fx().pblock())
            return;
        fx().pblock()->SetValue(id, t, path.c_str());
        if (id == lineFxParam::lineLoadAll)
            showSelection(fx().selected());
    }

    LineRollouts& r_;
    HWND page_ = nullptr;
};

// The selected element's page: blend methods, stamp preview, file and set-as-default buttons.
class LineElementDlgProc final : public ParamMap2UserDlgProc {
public:
    LineElementDlgProc(LineRollouts& r, LineFxElement& e) : r_(r), e_(e) {}

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM) override
    {
        DialogService* ui = GetDialogService();
        IParamBlock2* block = e_.pblock();
        if (!ui || !block)
            return FALSE;
        if (msg == WM_INITDIALOG) {
            std::vector<std::string> names;
            for (int id : blendMethodTable)
                names.push_back(text(id));
            ui->SetItems(page, 1048, names);
            ui->SetSelection(page, 1048, block->GetInt(lineParam::lineBlend, t));
            return TRUE;
        }
        if (msg == WM_PAINT) {
            r_.drawStampPreview();
            return TRUE;
        }
        if (msg != WM_COMMAND)
            return FALSE;
        const int id = LOWORD(wParam);
        if (id == 1048 && HIWORD(wParam) == CBN_SELCHANGE) {
            const int method = ui->GetSelection(page, 1048);
            if (method >= 0 && method != block->GetInt(lineParam::lineBlend, t)) {
                block->SetValue(lineParam::lineBlend, t, method);
                map->UpdateUI(t);
            }
            return TRUE;
        }
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (id == 1084) {
            writeLineSettingsFile(e_, true);
        } else if (id == 1077) {
            if (const std::string path = pickFile(strings::elementOpenCaption, strings::elementFileFilter,
                                                  elementFileInitialPath(), false);
                !path.empty())
                r_.askLoadMethod(e_, path);
        } else if (id == 1078) {
            if (const std::string path = pickFile(strings::elementSaveCaption, strings::elementFileFilter,
                                                  elementFileInitialPath(), true);
                !path.empty())
                block->SetValue(lineParam::lineSave, t, path.c_str());
        } else {
            return FALSE;
        }
        return TRUE;
    }

private:
    LineRollouts& r_;
    LineFxElement& e_;
};

// The selected element's paint page: the colour-range captions follow the colour type.
class LineElementPaintDlgProc final : public ParamMap2UserDlgProc {
public:
    LineElementPaintDlgProc(LineRollouts& r, LineFxElement& e) : r_(r), e_(e) {}

    INT_PTR DlgProc(TimeValue t, IParamMap2*, HWND page, UINT msg, WPARAM wParam, LPARAM) override
    {
        DialogService* ui = GetDialogService();
        if (!ui || !e_.paintBlock())
            return FALSE;
        const WORD id = LOWORD(wParam);
        if (msg == WM_INITDIALOG || (msg == WM_COMMAND && (id == 1048 || id == 1049))) {
            const bool hsv = e_.paintBlock()->GetInt(linePaintParam::paintColorType, t) == 1;
            const char* captions[] = {hsv ? "H" : "R", hsv ? "S" : "G", hsv ? "V" : "B"};
            for (int k = 0; k < 3; ++k)
                ui->SetText(page, 1056 + k, captions[k]);
            return TRUE;
        }
        if (msg == WM_PAINT) {
            r_.drawPaintPreview();
            return TRUE;
        }
        if (msg == WM_COMMAND && id == 1084 && HIWORD(wParam) == BN_CLICKED) {
            writeLinePaintSettingsFile(e_, true);
            return TRUE;
        }
        return FALSE;
    }

private:
    LineRollouts& r_;
    LineFxElement& e_;
};

}  // namespace

// The load-method page (template 121): replace or merge, or cancel the load.
class LineRollouts::LoadMethodPage final : public DialogHandler {
public:
    LoadMethodPage(LineRollouts& r, LineFxElement& e, std::string path) : r_(r), e_(e), path_(std::move(path))
    {}

    HWND page = nullptr;

    INT_PTR HandleMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM) override
    {
        DialogService* ui = GetDialogService();
        if (!ui)
            return FALSE;
        if (msg == WM_INITDIALOG) {
            ui->SetCheck(handle, 1085, !lineLoadMerge());
            ui->SetCheck(handle, 1086, lineLoadMerge());
            return TRUE;
        }
        if (msg == WM_DESTROY)
            page = nullptr;
        if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        const int id = LOWORD(wParam);
        if (id != IDOK && id != IDCANCEL)
            return FALSE;
        const LineLoadMethod method = id == IDCANCEL                ? LineLoadMethod::Cancel
                                      : ui->IsChecked(handle, 1085) ? LineLoadMethod::Replace
                                                                    : LineLoadMethod::Merge;
        ui->DeleteRollupPage(handle);
        // The load goes through the element's file name as any other; the query answers it.
        r_.answer_ = method;
        if (method != LineLoadMethod::Cancel && e_.pblock())
            e_.pblock()->SetValue(lineParam::lineLoad, now(), path_.c_str());
        r_.answer_.reset();
        return TRUE;
    }

private:
    LineRollouts& r_;
    LineFxElement& e_;
    std::string path_;
};

LineRollouts::LineRollouts(LineFxManager& effect) : effect_(effect) {}

LineRollouts::~LineRollouts()
{
    if (loadPage_ && loadPage_->page)
        if (DialogService* ui = GetDialogService())
            ui->DeleteRollupPage(loadPage_->page);
    emptyChildren();
    for (IParamMap2* map : maps_)
        DestroyParamMap2(map);
    if (effect_.rollouts() == this) {
        effect_.setRollouts(nullptr);
        lineLoadMethodQuery() = std::move(previousQuery_);
    }
}

bool LineRollouts::open()
{
    effect_.setSelected(0);
    effect_.setRollouts(this);
    previousQuery_ = std::move(lineLoadMethodQuery());
    lineLoadMethodQuery() = [this] {
        if (answer_)
            return *answer_;
        return lineLoadMerge() ? LineLoadMethod::Merge : LineLoadMethod::Replace;
    };
    struct Page {
        int ref, templ, title, category;
        DWORD flags;
        bool common;
    };
    const Page pages[] = {
        {LineFxManager::paramsRef, 114, strings::lineParameters, lineMainCategory, 0, true},
        {LineFxManager::elementBlockRef, 120, strings::lineElements, lineElementCategory, 0, false},
        {LineFxManager::paintBlockRef, 120, strings::paintRollout, linePaintCategory, 0, false},
        {LineFxManager::versionBlockRef, 122, strings::lineVersion, lineVersionCategory, APPENDROLL_CLOSED,
         false}};
    for (const Page& p : pages) {
        const DialogTemplate* t = dialog(p.templ);
        IParamBlock2* block = effect_.GetParamBlock(p.ref);
        if (!t || !block)
            return false;
        if (p.common)
            procs_.push_back(std::make_unique<LineCommonDlgProc>(*this));
        IParamMap2* map = CreateParamMap2(block, *t, text(p.title), p.flags, p.category,
                                          p.common ? procs_.back().get() : nullptr);
        if (!map)
            return false;
        maps_.push_back(map);
        if (p.common)
            mainMap_ = map;
    }
    // The main page's procedure ran before the page was known here.
    refreshList();
    rebuildChildren();
    return true;
}

void LineRollouts::refreshList()
{
    DialogService* ui = GetDialogService();
    if (!ui || !mainMap_ || !mainMap_->GetHWnd())
        return;
    std::vector<std::string> names;
    for (int i = 0; i < effect_.elementCount(); ++i)
        names.push_back(elementName(effect_.element(i)));
    ui->SetItems(mainMap_->GetHWnd(), 1034, names);
    ui->SetSelection(mainMap_->GetHWnd(), 1034, effect_.selected());
}

void LineRollouts::emptyChildren()
{
    DestroyParamMap2(elementChild_);
    DestroyParamMap2(paintChild_);
    elementChild_ = paintChild_ = nullptr;
    elementProc_.reset();
    paintProc_.reset();
    shown_ = nullptr;
}

void LineRollouts::rebuildChildren()
{
    IParamMap2* oldElement = elementChild_;
    IParamMap2* oldPaint = paintChild_;
    // The old procedures go after their pages.
    std::unique_ptr<ParamMap2UserDlgProc> oldElementProc = std::move(elementProc_);
    std::unique_ptr<ParamMap2UserDlgProc> oldPaintProc = std::move(paintProc_);
    elementChild_ = paintChild_ = nullptr;
    shown_ = effect_.selectedElement();
    const TimeValue t = now();
    if (shown_) {
        if (const DialogTemplate* paint = dialog(123)) {
            paintProc_ = std::make_unique<LineElementPaintDlgProc>(*this, *shown_);
            paintChild_ = CreateParamMap2(shown_->paintBlock(), *paint, text(strings::paintRollout), 0,
                                          linePaintCategory, paintProc_.get());
        }
        if (const DialogTemplate* element = dialog(elementTemplate(shown_->type()))) {
            elementProc_ = std::make_unique<LineElementDlgProc>(*this, *shown_);
            elementChild_ = CreateParamMap2(shown_->pblock(), *element, text(strings::lineElements), 0,
                                            lineElementCategory, elementProc_.get());
        }
        shown_->refreshSettings(t);
    }
    DestroyParamMap2(oldElement);
    DestroyParamMap2(oldPaint);
    drawStampPreview();
    drawPaintPreview();
}

void LineRollouts::effectChanged()
{
    if (mainMap_)
        mainMap_->UpdateUI(now());
}

void LineRollouts::elementChanged(LineFxElement& element, bool paintBlock, ParamID id)
{
    if (!paintBlock && id == lineParam::lineName)
        refreshList();
    if (&element != shown_)
        return;
    const TimeValue t = now();
    if (paintBlock) {
        drawPaintPreview();
        if (paintChild_)
            paintChild_->UpdateUI(t);
        return;
    }
    if (element.refreshSettings(t))
        drawStampPreview();
    if (elementChild_)
        elementChild_->UpdateUI(t);
}

void LineRollouts::askLoadMethod(LineFxElement& element, const std::string& path)
{
    DialogService* ui = GetDialogService();
    const DialogTemplate* t = dialog(121);
    if (!ui || !t)
        return;
    if (loadPage_ && loadPage_->page)
        ui->DeleteRollupPage(loadPage_->page);
    loadPage_ = std::make_unique<LoadMethodPage>(*this, element, path);
    loadPage_->page =
        ui->AddRollupPage(*t, text(strings::elementOpenCaption), loadPage_.get(), 0, lineMainCategory);
}

void LineRollouts::drawStampPreview()
{
    DialogService* ui = GetDialogService();
    if (!ui || !shown_ || !elementChild_ || !elementChild_->GetHWnd())
        return;
    Bitmap bm = previewCanvas(dialog(elementTemplate(shown_->type())), 1042);
    const float cx = bm.Width() * 0.5f, cy = bm.Height() * 0.5f;
    for (int y = 1; y + 1 < bm.Height(); ++y)
        for (int x = 1; x + 1 < bm.Width(); ++x)
            bm.Row(y)[x] = stampValue(shown_->settings(), x - cx, y - cy, 1.0f) > 0.5f ? black : white;
    frame(bm);
    ui->SetImage(elementChild_->GetHWnd(), 1042, &bm);
}

void LineRollouts::drawPaintPreview()
{
    DialogService* ui = GetDialogService();
    IParamBlock2* block = shown_ ? shown_->paintBlock() : nullptr;
    if (!ui || !block || !paintChild_ || !paintChild_->GetHWnd())
        return;
    // One band per colour component, filled as far as the component's range reaches.
    Bitmap bm = previewCanvas(dialog(123), 1041);
    const TimeValue t = now();
    const float range[] = {block->GetFloat(linePaintParam::paintColorR, t),
                           block->GetFloat(linePaintParam::paintColorG, t),
                           block->GetFloat(linePaintParam::paintColorB, t)};
    const int inner = std::max(bm.Height() - 2, 3);
    for (int y = 1; y + 1 < bm.Height(); ++y) {
        const int band = std::min(3 * (y - 1) / inner, 2);
        const int reach = int(std::clamp(range[band], 0.0f, 100.0f) / 100.0f * float(bm.Width() - 2));
        for (int x = 1; x + 1 < bm.Width(); ++x)
            bm.Row(y)[x] = x <= reach ? black : white;
    }
    frame(bm);
    ui->SetImage(paintChild_->GetHWnd(), 1041, &bm);
}

EffectParamDlg* LineFxManager::CreateParamDialog(IRendParams*)
{
    if (rollouts_ || !GetDialogService())
        return nullptr;
    auto dialog = std::make_unique<LineRollouts>(*this);
    return dialog->open() ? dialog.release() : nullptr;
}

}  // namespace vml
