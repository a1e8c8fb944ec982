#include "app/RenderCommand.h"

#include "app/CancelOnInterrupt.h"
#include "app/FrameList.h"
#include "app/HostSetup.h"
#include "app/PaintOptions.h"
#include "app/ProgressBar.h"
#include "host/ClassDesc2.h"
#include "host/Effect.h"
#include "host/GBufferChannels.h"
#include "host/IParamBlock2.h"
#include "host/RenderElement.h"
#include "host/Renderer.h"
#include "renderer/PainterlyFrameMemory.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "standalone/FrameMemory.h"
#include "standalone/RenderJob.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/Scene.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/images/ExrLayers.h"
#include "standalone/images/FrameWriter.h"
#include "standalone/images/ImageModule.h"
#include "standalone/images/ImageOutput.h"
#include "standalone/images/LayeredExr.h"
#include "standalone/import/SceneOrModel.h"

#include <fmt/core.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <utility>

namespace app {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct OwnedRenderer {
    Renderer* renderer = nullptr;
    std::unique_ptr<Renderer> owned;  // set when the renderer is not the scene's own
};

std::string rendererNames(standalone::StandaloneCore& core)
{
    std::string names = "scanline";
    for (const std::string& name : core.classNames())
        if (ClassDesc2* d = core.findClass(name); d && d->SuperClassID() == RENDERER_CLASS_ID)
            names += ", " + name;
    return names;
}

// The renderer named on the command line or in the document; the document's own object keeps
// its parameters when it is the one asked for.
bool pickRenderer(const std::string& name, standalone::Scene& scene, standalone::StandaloneCore& core,
                  OwnedRenderer& out, std::string& error)
{
    if (name == "scanline") {
        out.owned.reset(core.CreateDefaultScanlineRenderer());
        out.renderer = out.owned.get();
        if (!out.renderer)
            error = "the scanline renderer is not installed";
        return out.renderer != nullptr;
    }
    ClassDesc2* desc = core.findClass(name);
    if (!desc || desc->SuperClassID() != RENDERER_CLASS_ID) {
        error = fmt::format("unknown renderer \"{}\"; expected one of: {}", name, rendererNames(core));
        return false;
    }
    if (scene.renderer && scene.renderer->ClassID() == desc->ClassID()) {
        out.renderer = scene.renderer;
        return true;
    }
    out.owned.reset(dynamic_cast<Renderer*>(desc->Create(FALSE)));
    out.renderer = out.owned.get();
    if (!out.renderer)
        error = fmt::format("renderer \"{}\" cannot be created in this build", name);
    return out.renderer != nullptr;
}

// NAME.ELEMENT.EXT beside the main image; the element name is made safe for a file name.
std::string elementPath(const fs::path& mainImage, const std::string& elementName, int index)
{
    std::string safe;
    for (char c : elementName)
        safe += (c == '/' || c == '\\' || c == ' ' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    if (safe.empty())
        safe = fmt::format("element{}", index);
    return (mainImage.parent_path() /
            (mainImage.stem().string() + "." + safe + mainImage.extension().string()))
        .string();
}

std::string defaultOutput(const std::string& scenePath)
{
    return (fs::path("out") / (fs::path(scenePath).stem().string() + ".png")).string();
}

// Besides the effects' channels, the output bitmap gets only those the OpenEXR layers read.
constexpr ULONG renderChannels = BMM_CHAN_NONE;

// What one frame of the scene needs: the host's buffers, and the painterly renderer's when it
// renders (on the memory-saving canvas whatever its settings say, with `lightCanvas`).
standalone::FrameMemoryEstimate frameMemory(const standalone::Scene& scene, Renderer* renderer,
                                            ULONG layerChannels, bool writeBehind, bool lightCanvas = false)
{
    ULONG channels = renderChannels | layerChannels;
    for (Effect* e : scene.effects)
        if (e)
            channels |= e->GBufferChannelsRequired(0);
    standalone::FrameMemoryEstimate need =
        standalone::hostFrameMemory(scene.render.width, scene.render.height, channels,
                                    static_cast<int>(scene.renderElements.size()), writeBehind);
    if (auto* painterly = dynamic_cast<vml::vmlRenderer*>(renderer)) {
        int gbufferBytes = 0;
        for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot)
            if (channels & (1u << slot))
                gbufferBytes += GBufferChannelSize(1u << slot);
        vml::RendererSettings settings = vml::readRendererSettings(painterly->paramBlock(), false);
        settings.saveMemory = settings.saveMemory || lightCanvas;
        for (const vml::PainterlyPixelBytes& part : vml::painterlyBytesPerPixel(settings, gbufferBytes))
            need.add(part.name, part.bytes);
    }
    return need;
}

// The renderer and its main settings, for the OpenEXR header.
std::vector<std::pair<std::string, std::string>>
rendererAttributes(const std::string& name, Renderer* renderer, const standalone::Scene& scene)
{
    std::vector<std::pair<std::string, std::string>> a{
        {"renderer", name},
        {"antialias", scene.render.antialias ? "on" : "off"},
    };
    if (auto* painterly = dynamic_cast<vml::vmlRenderer*>(renderer)) {
        const vml::RendererSettings r = vml::readRendererSettings(painterly->paramBlock(), false);
        auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
        a.emplace_back("bleed", r.bleedMapEnable ? fmt::format("on, {}%", r.bleedAmount) : "off");
        a.emplace_back("brushScale", r.brushScaleEnable ? fmt::format("{:g}", r.brushScale) : "off");
        a.emplace_back("penStrokes", onOff(r.penStrokeEnable));
        a.emplace_back("multipass", onOff(r.multipassEnable));
        a.emplace_back("saveMemory", onOff(r.saveMemory));
    }
    return a;
}

void printStats(const standalone::RenderJobResult& r, double renderSeconds, double writeSeconds)
{
    const standalone::ScanlineStats& s = r.stats;
    fmt::print("seconds_render: {:.3f}\n", renderSeconds);
    fmt::print("seconds_setup: {:.3f}\n", s.setupSeconds);
    fmt::print("seconds_raster: {:.3f}\n", s.rasterSeconds);
    fmt::print("seconds_shade: {:.3f}\n", s.shadeSeconds);
    fmt::print("seconds_effects: {:.3f}\n", s.effectSeconds);
    fmt::print("seconds_write: {:.3f}\n", writeSeconds);
    fmt::print("instances: {}\n", s.instances);
    fmt::print("lights: {}\n", s.lights);
    fmt::print("threads: {}\n", s.threads);
    fmt::print("fragments: {}\n", s.fragments);
    fmt::print("fragments_shaded: {}\n", s.fragmentsShaded);
    double shade = s.rasterSeconds + s.shadeSeconds;
    fmt::print("fragments_shaded_per_second: {:.0f}\n", shade > 0 ? s.fragmentsShaded / shade : 0.0);
}

}  // namespace

std::vector<std::string> renderElementNames(const standalone::Scene& scene)
{
    std::vector<std::string> names;
    for (IRenderElement* e : scene.renderElements)
        names.push_back(e && e->ElementName() ? e->ElementName() : "");
    return names;
}

int runRender(const RenderOptions& options, standalone::StandaloneCore& core)
{
    core.setQuietMode(options.quiet);
    // A misspelt look fails before the scene is read.
    const standalone::document::Look* look = nullptr;
    if (!options.paintLook.empty()) {
        try {
            look = standalone::document::findLook(options.paintLook);
            if (!look) {
                fmt::print(stderr, "vermil: --paint {}: {}\n", options.paintLook,
                           standalone::document::unknownLookMessage(options.paintLook));
                return 1;
            }
        } catch (const std::exception& e) {
            fmt::print(stderr, "vermil: {}\n", e.what());
            return 1;
        }
    }
    std::unique_ptr<standalone::Scene> scene;
    try {
        scene = standalone::loadSceneOrModel(options.scenePath, core,
                                             {options.width, options.height, printWarning});
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }
    if (options.width > 0 && options.height > 0)
        scene->render.width = options.width, scene->render.height = options.height;
    if (!options.paintLook.empty() || options.lines) {
        const fs::path baseDir = fs::absolute(options.scenePath).parent_path();
        try {
            if (!options.paintLook.empty())
                paintScene(*scene, core, *look, !standalone::isSceneDocument(options.scenePath), baseDir);
            if (options.lines)
                addLines(*scene, core, baseDir);
        } catch (const std::exception& e) {
            fmt::print(stderr, "vermil: {}: {}\n", options.scenePath, e.what());
            return 1;
        }
    }
    std::string output = !options.output.empty()         ? options.output
                         : !scene->render.output.empty() ? scene->render.output
                                                         : defaultOutput(options.scenePath);
    // An OpenEXR image takes the render elements and the G-buffer in as layers.
    const bool layered = standalone::isExrPath(output);
    std::vector<standalone::ExrLayer> layers;
    if (layered) {
        layers = standalone::exrLayers(renderElementNames(*scene));
        std::string error;
        auto picked = standalone::pickExrLayers(layers, options.layers, error);
        if (!picked) {
            fmt::print(stderr, "vermil: --layers: {}\n", error);
            return 1;
        }
        if (!options.layers.empty())
            layers = std::move(*picked);
    } else if (!options.layers.empty()) {
        fmt::print(stderr, "vermil: --layers: {} is not an OpenEXR file (.exr); only those hold layers\n",
                   output);
        return 1;
    }
    const ULONG layerChannels = standalone::exrGBufferChannels(layers);
    // An image that cannot be written is known now, not after the render.
    if (standalone::writingNeedsImageModule(output, options.compression)) {
        std::string error;
        if (!standalone::imageCodecs(error)) {
            fmt::print(stderr, "vermil: {}: {}\n", output, error);
            return 1;
        }
    }

    OwnedRenderer picked;
    std::string error;
    const std::string rendererName = !options.renderer.empty() ? options.renderer
                                     : look                    ? std::string("vmlRenderer")
                                                               : scene->render.renderer;
    if (!pickRenderer(rendererName, *scene, core, picked, error)) {
        fmt::print(stderr, "vermil: {}: {}\n", options.scenePath, error);
        return 1;
    }

    // Frames: the command line's, else the document's range; a still keeps an unnumbered name.
    std::vector<int> frames = options.frames;
    bool numbered = !frames.empty() || scene->render.endFrame > scene->render.startFrame;
    if (frames.empty())
        for (int f = scene->render.startFrame; f <= scene->render.endFrame; ++f)
            frames.push_back(f);

    // The host's production renderer while the sequence renders (the line effect asks for it).
    core.setCurrentRenderer(picked.renderer);
    struct ForgetRenderer {
        standalone::StandaloneCore& core;
        ~ForgetRenderer() { core.setCurrentRenderer(nullptr); }
    } forgetRenderer{core};

    // A frame that cannot fit is refused now, before anything of its size is allocated, rather
    // than killed by the system half way through.
    {
        const standalone::AvailableMemory available =
            options.availableMemory ? standalone::AvailableMemory{*options.availableMemory, "as given"}
                                    : standalone::availableMemory();
        const bool writeBehind = frames.size() > 1 && !options.serialWrites;
        const standalone::FrameMemoryEstimate need =
            frameMemory(*scene, picked.renderer, layerChannels, writeBehind);
        std::string refusal = standalone::refuseFrame(need, available);
        // The full canvas is the one thing the user may do without: the memory-saving canvas
        // paints the same strokes with a wet layer a quarter the size.
        auto* painterly = dynamic_cast<vml::vmlRenderer*>(picked.renderer);
        IParamBlock2* settings = painterly ? painterly->paramBlock() : nullptr;
        if (!refusal.empty() && settings && !settings->GetInt(vml::rendererSaveMemoryEnable, 0) &&
            standalone::refuseFrame(frameMemory(*scene, picked.renderer, layerChannels, writeBehind, true),
                                    available)
                .empty()) {
            settings->SetValue(vml::rendererSaveMemoryEnable, 0, 1);
            fmt::print(stderr,
                       "vermil: {}: the full canvas would need about {:.1f} GB, {:.1f} GB is available; "
                       "painting on the memory-saving canvas\n",
                       options.scenePath, double(need.bytes()) / 1e9, double(available.bytes) / 1e9);
            refusal.clear();
        }
        if (!refusal.empty()) {
            fmt::print(stderr, "vermil: {}: {}\n", options.scenePath, refusal);
            return 1;
        }
    }

    ProgressBar progress(!options.quiet, stderr,
                         options.plainProgress ? ProgressStyle::plain : ProgressStyle::bar);
    standalone::RenderJobOptions jobOptions;
    jobOptions.threads = options.threads;
    jobOptions.progress = &progress;
    jobOptions.gbufferChannels = renderChannels | layerChannels;
    standalone::RenderSession session(*scene, *picked.renderer, jobOptions);
    if (!session.open(error)) {
        progress.finish();
        fmt::print(stderr, "vermil: {}: {}\n", options.scenePath, error);
        return 1;
    }

    const int fps = std::max(1, scene->render.frameRate);
    Bitmap image;
    // Frame N is written while frame N+1 renders; the writer is declared after the session, so
    // any return below waits for the frame in flight before the renderer closes.
    standalone::FrameWriter writer;
    // Reports the frame in flight once it is written; false when it failed.
    auto collectWrites = [&]() {
        standalone::FrameWriteResult done = writer.wait();
        if (!done.ok) {
            progress.finish();
            fmt::print(stderr, "vermil: {}\n", done.error);
            return false;
        }
        if (!options.quiet && !done.written.empty()) {
            progress.finish();
            fmt::print(stderr, "wrote {}\n", done.written.front());
        }
        return true;
    };
    // A frame written on this thread: its failure ends the command, its success is reported.
    auto writeFailed = [&](const std::string& error) {
        progress.finish();
        fmt::print(stderr, "vermil: {}\n", error);
        return 1;
    };
    auto announceWritten = [&](const std::string& path) {
        if (!options.quiet) {
            progress.finish();
            fmt::print(stderr, "wrote {}\n", path);
        }
    };
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const int frame = frames[i];
        if (frames.size() > 1)
            progress.setPrefix(fmt::format("frame {} ({}/{}) ", frame, i + 1, frames.size()));
        auto start = Clock::now();
        const auto t = static_cast<TimeValue>(static_cast<long long>(frame) * TIME_TICKSPERSEC / fps);
        standalone::RenderJobResult result = session.renderFrame(t, image);
        double renderSeconds = secondsSince(start);
        for (const std::string& w : result.warnings)
            printWarning(w);
        // Ctrl-C that lands after the frame's last cancel check still ends the command: the frame
        // is not written (frames before it are).
        if (!result.ok || interrupted()) {
            progress.finish();
            // The frame in flight is finished (and reported) before anything else is said.
            collectWrites();
            if (result.cancelled || interrupted()) {
                fmt::print(stderr, "vermil: cancelled\n");
                return 130;
            }
            fmt::print(stderr, "vermil: {}: frame {}: {}\n", options.scenePath, frame, result.error);
            return 1;
        }

        start = Clock::now();
        const std::string path = numbered ? numberedPath(output, frame) : output;
        std::error_code ignored;
        if (fs::path parent = fs::path(path).parent_path(); !parent.empty())
            fs::create_directories(parent, ignored);
        if (layered) {
            if (!collectWrites())
                return 1;
            std::vector<const Bitmap*> elementBitmaps;
            for (IRenderElement* element : scene->renderElements) {
                PBBitmap* holder = element ? element->GetPBBitmap() : nullptr;
                elementBitmaps.push_back(holder ? holder->bm() : nullptr);
            }
            standalone::LayeredExrHeader header;
            header.camera = result.camera;
            header.frame = frame;
            header.framesPerSecond = fps;
            header.instanceNames = result.instanceNames;
            header.attributes = rendererAttributes(rendererName, picked.renderer, *scene);
            standalone::LayeredExrSnapshot file = standalone::snapshotLayeredExr(
                path, options.compression, image, elementBitmaps, layers, std::move(header));
            if (options.serialWrites || i + 1 == frames.size()) {
                if (auto w = standalone::writeLayeredExr(file); !w.ok)
                    return writeFailed(w.error);
                announceWritten(path);
            } else {
                std::vector<standalone::FrameFile> files;
                files.emplace_back(std::move(file));
                writer.start(std::move(files));
            }
        } else {
            // The frame's images: the main one, then the render elements beside it.
            std::vector<std::pair<const Bitmap*, std::string>> images{{&image, path}};
            standalone::RenderElementManager& elements = session.elements();
            for (int e = 0; e < elements.NumRenderElements(); ++e) {
                IRenderElement* element = elements.GetRenderElement(e);
                PBBitmap* holder = element ? element->GetPBBitmap() : nullptr;
                if (!holder || !holder->bm())
                    continue;
                std::string elementFile =
                    elementPath(output, element->ElementName() ? element->ElementName() : "", e);
                images.emplace_back(holder->bm(), numbered ? numberedPath(elementFile, frame) : elementFile);
            }
            if (!collectWrites())
                return 1;
            if (options.serialWrites || i + 1 == frames.size()) {
                // Nothing to overlap with: written straight from the bitmaps, without a copy.
                for (const auto& [bitmap, file] : images)
                    if (auto w = standalone::writeImage(*bitmap, file, options.compression); !w.ok)
                        return writeFailed(w.error);
                announceWritten(path);
            } else {
                std::vector<standalone::FrameFile> snapshots;
                for (const auto& [bitmap, file] : images)
                    snapshots.emplace_back(standalone::snapshotImage(*bitmap, file, options.compression));
                writer.start(std::move(snapshots));
            }
        }
        // With overlap, the time the frame's writing held up the next render.
        double writeSeconds = secondsSince(start);
        progress.finish();
        if (options.stats) {
            fmt::print("frame: {}\n", frame);
            printStats(result, renderSeconds, writeSeconds);
            // The painterly renderer's strokes of the frame's last pass.
            if (auto* painterly = dynamic_cast<vml::vmlRenderer*>(picked.renderer)) {
                fmt::print("strokes: {}\n", painterly->strokeCount());
                fmt::print("passes: {}\n", painterly->passStrokes().size());
                if (painterly->passStrokes().size() > 1)
                    for (const auto& pass : painterly->passStrokes())
                        fmt::print("strokes_pass_{}: {}\n", pass.pass, pass.strokes);
                const vml::vmlRenderer::PaintTimes& times = painterly->paintTimes();
                fmt::print("seconds_paint_strokes: {:.3f}\n", times.strokeSeconds);
                fmt::print("seconds_paint_bleed: {:.3f}\n", times.bleedSeconds);
                fmt::print("bleed_steps: {}\n", times.bleedSteps);
                fmt::print("dabs: {}\n", times.strokes.dabs);
                fmt::print("dab_pixels: {}\n", times.strokes.dabPixels);
                fmt::print("brush_tiles_rendered: {}\n", times.brushTilesRendered);
            }
        }
    }
    session.close();
    return 0;
}

}  // namespace app
