#pragma once
// The painted still life with painted lines, small, rendered frame by frame through a render
// session as the program renders it: what the tests of cancelled and failing frames share.

#include "support/CommandTestSupport.h"

#include "host/Bitmap.h"
#include "host/RenderElement.h"
#include "renderer/vmlRenderer.h"
#include "standalone/RenderJob.h"
#include "standalone/import/SceneOrModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace test_support {

class PaintedFrameTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        scene = standalone::loadSceneOrModel(VML_EXAMPLES_DIR "/still_life_painted_lines.json", core);
        scene->render.width = 160, scene->render.height = 90;
        painter = dynamic_cast<vml::vmlRenderer*>(scene->renderer);
        ASSERT_NE(painter, nullptr);
    }
    void TearDown() override
    {
        core.setCurrentRenderer(nullptr);
        CommandTest::TearDown();
    }

    // A renderer as the document made it, never used: a copy of the scene's.
    std::unique_ptr<vml::vmlRenderer> freshRenderer() const
    {
        return std::unique_ptr<vml::vmlRenderer>(static_cast<vml::vmlRenderer*>(painter->Clone()));
    }

    // A session of `renderer` on the scene, opened, with the renderer as the host's (as the
    // program has it).
    std::unique_ptr<standalone::RenderSession> open(vml::vmlRenderer& renderer,
                                                    const standalone::RenderJobOptions& options)
    {
        core.setCurrentRenderer(&renderer);
        auto session = std::make_unique<standalone::RenderSession>(*scene, renderer, options);
        std::string error;
        EXPECT_TRUE(session->open(error)) << error;
        return session;
    }

    struct Frame {
        bool ok = false;
        // The image, then every render element's, four channels a pixel.
        std::vector<std::uint16_t> pixels;
    };

    static void append(const Bitmap& bitmap, std::vector<std::uint16_t>& out)
    {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (const BMM_Color_64* p = bitmap.Row(y); p != bitmap.Row(y) + bitmap.Width(); ++p)
                out.insert(out.end(), {p->r, p->g, p->b, p->a});
    }

    static Frame render(standalone::RenderSession& session)
    {
        Frame frame;
        Bitmap image;
        frame.ok = session.renderFrame(0, image).ok;
        append(image, frame.pixels);
        standalone::RenderElementManager& elements = session.elements();
        for (int e = 0; e < elements.NumRenderElements(); ++e) {
            IRenderElement* element = elements.GetRenderElement(e);
            PBBitmap* holder = element ? element->GetPBBitmap() : nullptr;
            if (holder && holder->bm())
                append(*holder->bm(), frame.pixels);
        }
        return frame;
    }

    std::unique_ptr<standalone::Scene> scene;
    vml::vmlRenderer* painter = nullptr;
};

}  // namespace test_support
