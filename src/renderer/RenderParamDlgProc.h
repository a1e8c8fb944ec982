#pragma once
// The logic of the read-only summary rollout of the render progress dialog: the stroke count
// and five settings of the renderer, in value fields 1050 to 1055.

#include "host/ParamMap2.h"

#include <array>
#include <cstddef>
#include <string>

namespace vml {

class vmlRenderer;

class RenderParamDlgProc final : public ParamMap2UserDlgProc {
public:
    static constexpr int firstField = 1050;
    static constexpr int fieldCount = 6;

    explicit RenderParamDlgProc(vmlRenderer& renderer) : renderer_(renderer) {}
    ~RenderParamDlgProc();
    RenderParamDlgProc(const RenderParamDlgProc&) = delete;
    RenderParamDlgProc& operator=(const RenderParamDlgProc&) = delete;

    // Reads the renderer's cached parameters, shows them with a stroke count of 0 and registers
    // as the renderer's summary rollout; close forgets it.
    void open();
    void close();
    bool isOpen() const { return open_; }

    // Field 1050.
    void setStrokeCount(std::size_t count);
    // The text of field id (1050..1055); empty for any other id.
    std::string value(int fieldId) const;

    // The page of template 112: opens with the values shown, the stroke count kept up to date.
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    vmlRenderer& renderer_;
    bool open_ = false;
    std::array<std::string, fieldCount> values_;
    HWND page_ = nullptr;

    void show(int fieldId);
};

}  // namespace vml
