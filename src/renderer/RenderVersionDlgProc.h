#pragma once
// The logic of the renderer's version rollout: a read-only text with the product's version.

#include <string>

namespace vml {

class vmlRenderer;

class RenderVersionDlgProc {
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

private:
    vmlRenderer& renderer_;
    bool open_ = false;
    std::string text_;
};

}  // namespace vml
