#pragma once
// The logic of the renderer's version rollout: a read-only text with the product's version.

#include "host/ParamMap2.h"

#include <string>

namespace vml {

class vmlRenderer;

class RenderVersionDlgProc final : public ParamMap2UserDlgProc {
public:
    static constexpr int versionMajor = 1, versionMinor = 5, versionRevision = 2;

    explicit RenderVersionDlgProc(vmlRenderer& renderer) : renderer_(renderer) {}
    ~RenderVersionDlgProc();
    RenderVersionDlgProc(const RenderVersionDlgProc&) = delete;
    RenderVersionDlgProc& operator=(const RenderVersionDlgProc&) = delete;

    // Registers with the renderer as its version rollout; close forgets it.
    void open();
    void close();
    bool isOpen() const { return open_; }

    // Text field 1003: "Version 1.52".
    const std::string& versionText() const { return text_; }

    // The page of template 106: opens with the text shown, closes with the page.
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    vmlRenderer& renderer_;
    bool open_ = false;
    std::string text_;
};

}  // namespace vml
