#pragma once
// The line effect's rollouts on the host's dialog layer: the main rollout with the element list,
// two host rollouts that hold the selected element's element and paint pages, and the version
// rollout. The element pages are rebuilt whenever the selection or the list changes, and emptied
// while the list is empty. While open, element-file loads ask their load method through a page of
// the dialog layer (template 121).
//
// Owned by the host's render effects dialog; deleting it closes every page. Main thread only.

#include "host/DialogService.h"
#include "host/ParamDlg.h"
#include "host/ParamTypes.h"
#include "line/LineFiles.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IParamMap2;
class ParamMap2UserDlgProc;

namespace vml {

class LineFxElement;
class LineFxManager;

// The rollouts' categories: pages show in category order, a child page right after its host.
inline constexpr int lineMainCategory = 5000;
inline constexpr int lineElementCategory = 5001;
inline constexpr int linePaintCategory = 5002;
inline constexpr int lineVersionCategory = 5003;

class LineRollouts final : public EffectParamDlg {
public:
    explicit LineRollouts(LineFxManager& effect);
    ~LineRollouts() override;
    LineRollouts(const LineRollouts&) = delete;
    LineRollouts& operator=(const LineRollouts&) = delete;

    // Opens every page with the first element selected; false when a page could not be made.
    bool open();

    LineFxManager& effect() { return effect_; }
    // The element list (1034) again from the effect, with its selection.
    void refreshList();
    // The selected element's pages made again, or both emptied when nothing valid is selected.
    void rebuildChildren();
    // Both element pages closed: before the shown element may go.
    void emptyChildren();

    // Change reports of the shown blocks: controls, list names and previews follow.
    void effectChanged();
    void elementChanged(LineFxElement& element, bool paintBlock, ParamID id);

    // Asks the load method for loading `path` into `element`: OK loads with the chosen method,
    // Cancel loads nothing.
    void askLoadMethod(LineFxElement& element, const std::string& path);

    // The stamp preview of the shown element drawn again (only while its page is open).
    void drawStampPreview();
    void drawPaintPreview();

private:
    class LoadMethodPage;
    friend class LoadMethodPage;
    LineFxManager& effect_;
    std::vector<std::unique_ptr<ParamMap2UserDlgProc>> procs_;  // outlive the maps
    std::vector<IParamMap2*> maps_;                             // main, hosts, version
    IParamMap2* mainMap_ = nullptr;
    IParamMap2* elementChild_ = nullptr;
    IParamMap2* paintChild_ = nullptr;
    std::unique_ptr<ParamMap2UserDlgProc> elementProc_, paintProc_;
    LineFxElement* shown_ = nullptr;

    std::unique_ptr<LoadMethodPage> loadPage_;
    std::optional<LineLoadMethod> answer_;  // the load method chosen for the load under way
    std::function<LineLoadMethod()> previousQuery_;
};

}  // namespace vml
