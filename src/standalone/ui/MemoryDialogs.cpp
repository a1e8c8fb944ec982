#include "standalone/ui/MemoryDialogs.h"

#include "host/INode.h"
#include "host/Mtl.h"

#include <algorithm>
#include <cmath>

namespace standalone {

namespace {

bool isKind(const MemoryDialogs::Control& c, std::initializer_list<ControlKind> kinds)
{
    return std::find(kinds.begin(), kinds.end(), c.def.kind) != kinds.end();
}

float held(const MemoryDialogs::Control& c, float v)
{
    v = std::clamp(v, c.min, c.max);
    return c.integer ? std::round(v) : v;
}

}  // namespace

MemoryDialogs::Control* MemoryDialogs::Page::find(int id)
{
    if (id == 0)
        return nullptr;
    for (Control& c : controls)
        if (c.def.id == id || (c.def.kind == ControlKind::spinner && c.def.buddy == id))
            return &c;
    return nullptr;
}

std::vector<HWND> MemoryDialogs::pages() const
{
    std::vector<const Page*> order;
    for (const auto& p : pages_)
        order.push_back(p.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const Page* a, const Page* b) { return a->category < b->category; });
    std::vector<HWND> handles;
    for (const Page* p : order)
        handles.push_back(const_cast<Page*>(p));
    return handles;
}

const MemoryDialogs::Page* MemoryDialogs::page(HWND handle) const
{
    for (const auto& p : pages_)
        if (p.get() == handle)
            return p.get();
    return nullptr;
}

MemoryDialogs::Page* MemoryDialogs::pageOf(HWND handle) { return const_cast<Page*>(page(handle)); }

MemoryDialogs::Control* MemoryDialogs::control(HWND page, int id)
{
    Page* p = pageOf(page);
    return p ? p->find(id) : nullptr;
}

MemoryDialogs::Control* MemoryDialogs::usable(HWND page, int id, std::initializer_list<ControlKind> kinds)
{
    Control* c = control(page, id);
    return c && c->enabled && isKind(*c, kinds) ? c : nullptr;
}

void MemoryDialogs::send(HWND page, UINT msg, WPARAM wParam)
{
    if (Page* p = pageOf(page); p && p->handler)
        p->handler->HandleMessage(page, msg, wParam, 0);
}

HWND MemoryDialogs::AddRollupPage(const DialogTemplate& dialog, const std::string& title,
                                  DialogHandler* handler, DWORD flags, int category)
{
    auto page = std::make_unique<Page>();
    page->dialogId = dialog.id;
    page->title = title;
    page->flags = flags;
    page->category = category;
    page->handler = handler;
    for (const DialogControl& def : dialog.controls) {
        Control c;
        c.def = def;
        c.text = def.text;
        page->controls.push_back(std::move(c));
    }
    HWND handle = page.get();
    pages_.push_back(std::move(page));
    send(handle, WM_INITDIALOG, 0);
    return handle;
}

void MemoryDialogs::DeleteRollupPage(HWND page)
{
    auto it = std::find_if(pages_.begin(), pages_.end(), [&](const auto& p) { return p.get() == page; });
    if (it == pages_.end())
        return;
    send(page, WM_DESTROY, 0);
    // The handler may have deleted other pages meanwhile: look again.
    it = std::find_if(pages_.begin(), pages_.end(), [&](const auto& p) { return p.get() == page; });
    if (it != pages_.end())
        pages_.erase(it);
}

void MemoryDialogs::SetText(HWND page, int id, const std::string& text)
{
    if (Control* c = control(page, id))
        c->text = text;
}

std::string MemoryDialogs::GetText(HWND page, int id)
{
    Control* c = control(page, id);
    return c ? c->text : std::string();
}

void MemoryDialogs::SetCheck(HWND page, int id, bool on)
{
    if (Control* c = control(page, id);
        c && isKind(*c, {ControlKind::checkBox, ControlKind::radioButton, ControlKind::button}))
        c->checked = on;
}

bool MemoryDialogs::IsChecked(HWND page, int id)
{
    Control* c = control(page, id);
    return c && c->checked;
}

void MemoryDialogs::Enable(HWND page, int id, bool on)
{
    if (Control* c = control(page, id))
        c->enabled = on;
}

bool MemoryDialogs::IsEnabled(HWND page, int id)
{
    Control* c = control(page, id);
    return c && c->enabled;
}

void MemoryDialogs::SetItems(HWND page, int id, const std::vector<std::string>& items)
{
    if (Control* c = control(page, id);
        c && isKind(*c, {ControlKind::comboBox, ControlKind::listBox, ControlKind::tab})) {
        c->items = items;
        std::erase_if(c->selections, [&](int row) { return row >= int(items.size()); });
        c->selection = c->selections.empty() ? -1 : c->selections.front();
    }
}

std::vector<std::string> MemoryDialogs::GetItems(HWND page, int id)
{
    Control* c = control(page, id);
    return c ? c->items : std::vector<std::string>();
}

void MemoryDialogs::SetSelection(HWND page, int id, int index)
{
    if (Control* c = control(page, id)) {
        c->selection = index >= 0 && index < int(c->items.size()) ? index : -1;
        c->selections = c->selection < 0 ? std::vector<int>() : std::vector<int>{c->selection};
    }
}

int MemoryDialogs::GetSelection(HWND page, int id)
{
    Control* c = control(page, id);
    return c ? c->selection : -1;
}

std::vector<int> MemoryDialogs::GetSelections(HWND page, int id)
{
    Control* c = control(page, id);
    return c ? c->selections : std::vector<int>();
}

void MemoryDialogs::SetSpinnerLimits(HWND page, int id, float min, float max, float step, bool integer)
{
    if (Control* c = control(page, id); c && c->def.kind == ControlKind::spinner) {
        c->min = std::min(min, max);
        c->max = std::max(min, max);
        c->step = step;
        c->integer = integer;
    }
}

void MemoryDialogs::SetSpinnerValue(HWND page, int id, float value)
{
    if (Control* c = control(page, id); c && c->def.kind == ControlKind::spinner)
        c->value = value;
}

float MemoryDialogs::GetSpinnerValue(HWND page, int id)
{
    Control* c = control(page, id);
    return c ? c->value : 0.0f;
}

void MemoryDialogs::SetKeyMark(HWND page, int id, bool keyed)
{
    if (Control* c = control(page, id))
        c->keyed = keyed;
}

void MemoryDialogs::SetColor(HWND page, int id, const Color& color)
{
    if (Control* c = control(page, id); c && c->def.kind == ControlKind::colorSwatch)
        c->color = color;
}

Color MemoryDialogs::GetColor(HWND page, int id)
{
    Control* c = control(page, id);
    return c ? c->color : Color();
}

void MemoryDialogs::SetImage(HWND page, int id, const Bitmap* image)
{
    if (Control* c = control(page, id); c && c->def.kind == ControlKind::image)
        c->image = image ? std::make_shared<Bitmap>(*image) : nullptr;
}

bool MemoryDialogs::userSetValue(HWND page, int id, float value)
{
    Control* c = usable(page, id, {ControlKind::spinner});
    if (!c)
        return false;
    // The page hears the value as given: a parameter map passes it through the intake, which
    // holds it to the parameter's range (or refuses it) with a warning naming the control, and
    // shows what the block kept. Whatever the page leaves is then held to the spinner's limits.
    const float before = c->value;
    const int controlId = c->def.id;
    c->value = c->integer && std::isfinite(value) ? std::round(value) : value;
    send(page, CC_SPINNER_CHANGE, MAKEWPARAM(WORD(controlId), 0));
    if (Control* after = control(page, controlId))
        after->value = std::isfinite(after->value) ? held(*after, after->value) : before;
    return true;
}

bool MemoryDialogs::userSetText(HWND page, int id, const std::string& text)
{
    Control* c = usable(page, id, {ControlKind::editText});
    if (!c)
        return false;
    c->text = text;
    send(page, WM_COMMAND, MAKEWPARAM(WORD(id), EN_CHANGE));
    return true;
}

bool MemoryDialogs::userClick(HWND page, int id)
{
    Control* c = usable(page, id,
                        {ControlKind::button, ControlKind::checkBox, ControlKind::radioButton,
                         ControlKind::mapButton, ControlKind::nodeButton, ControlKind::colorSwatch});
    if (!c)
        return false;
    if (c->def.kind == ControlKind::checkBox)
        c->checked = !c->checked;
    if (c->def.kind == ControlKind::radioButton) {
        // The group: the run of radio buttons around this one in template order.
        std::vector<Control>& all = pageOf(page)->controls;
        const std::size_t at = std::size_t(c - all.data());
        std::size_t first = at, last = at;
        while (first > 0 && all[first - 1].def.kind == ControlKind::radioButton)
            --first;
        while (last + 1 < all.size() && all[last + 1].def.kind == ControlKind::radioButton)
            ++last;
        for (std::size_t k = first; k <= last; ++k)
            all[k].checked = k == at;
    }
    send(page, WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED));
    return true;
}

bool MemoryDialogs::userSelect(HWND page, int id, int index)
{
    Control* c = usable(page, id, {ControlKind::comboBox, ControlKind::listBox, ControlKind::tab});
    if (!c || index < 0 || index >= int(c->items.size()))
        return false;
    c->selection = index;
    c->selections = {index};
    const WORD code = c->def.kind == ControlKind::tab       ? TCN_SELCHANGE
                      : c->def.kind == ControlKind::listBox ? LBN_SELCHANGE
                                                            : CBN_SELCHANGE;
    send(page, WM_COMMAND, MAKEWPARAM(WORD(id), code));
    return true;
}

bool MemoryDialogs::userSelectRows(HWND page, int id, std::vector<int> rows)
{
    Control* c = usable(page, id, {ControlKind::listBox});
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!c || rows.empty() || rows.front() < 0 || rows.back() >= int(c->items.size()))
        return false;
    c->selections = std::move(rows);
    c->selection = c->selections.front();
    send(page, WM_COMMAND, MAKEWPARAM(WORD(id), LBN_SELCHANGE));
    return true;
}

bool MemoryDialogs::userSetColor(HWND page, int id, const Color& color)
{
    Control* c = usable(page, id, {ControlKind::colorSwatch});
    if (!c)
        return false;
    c->color = color;
    send(page, CC_COLOR_CHANGE, MAKEWPARAM(WORD(id), 0));
    return true;
}

bool MemoryDialogs::DoHitByNameDialog(HitByNameDlgCallback& callback)
{
    if (nodeAnswers.empty())
        return false;
    const std::vector<std::string> names = std::move(nodeAnswers.front());
    nodeAnswers.pop_front();
    std::vector<INode*> picked;
    for (const std::string& name : names)
        for (INode* node : sceneNodes)
            if (node && node->GetName() && name == node->GetName() && callback.filter(node) &&
                std::find(picked.begin(), picked.end(), node) == picked.end())
                picked.push_back(node);
    if (picked.empty() || (callback.singleSelect() && picked.size() > 1))
        return false;
    callback.proc(picked);
    return true;
}

bool MemoryDialogs::BrowseForMap(bool materials, ReferenceTarget*& picked)
{
    picked = nullptr;
    if (mapAnswers.empty())
        return false;
    const std::string name = std::move(mapAnswers.front());
    mapAnswers.pop_front();
    if (name.empty()) {
        ++mapPicks;
        return true;
    }
    for (MtlBase* m : sceneMaps)
        if (m && m->GetName() == name && (dynamic_cast<Mtl*>(m) != nullptr) == materials) {
            picked = m;
            ++mapPicks;
            return true;
        }
    return false;
}

bool MemoryDialogs::PickFile(FilePickRequest& request)
{
    fileRequests.push_back(request);
    if (fileAnswers.empty())
        return false;
    const std::optional<std::string> answer = std::move(fileAnswers.front());
    fileAnswers.pop_front();
    if (!answer)
        return false;
    request.path = *answer;
    return true;
}

}  // namespace standalone
