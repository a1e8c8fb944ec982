// vermil: the command-line program. Every failure becomes a message on stderr and a non-zero
// exit code here; the libraries below only return results.

#include "app/BlendChart.h"
#include "app/BrushPreviewCommand.h"
#include "app/CancelOnInterrupt.h"
#include "app/FarmCommand.h"
#include "app/FrameList.h"
#include "app/HostSetup.h"
#include "app/InfoCommand.h"
#include "app/LinesCommand.h"
#include "app/PaintOptions.h"
#include "app/PreviewMaterialCommand.h"
#include "app/RenderCommand.h"
#include "app/StudioCommand.h"
#include "app/UiCommand.h"
#include "plugin/EntryPoints.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/Looks.h"
#include "standalone/images/ImageOutput.h"

#include <CLI/CLI.hpp>
#include <fmt/core.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>

namespace {

int runBlendChart(const std::string& output)
{
    Bitmap bitmap;
    if (!app::paintBlendChart(bitmap)) {
        fmt::print(stderr, "vermil: not enough memory for the blend chart canvas\n");
        return 1;
    }
    auto written = standalone::writeImage(bitmap, output);
    if (!written.ok) {
        fmt::print(stderr, "vermil: {}\n", written.error);
        return 1;
    }
    fmt::print("wrote {} ({}x{})\n", output, bitmap.Width(), bitmap.Height());
    return 0;
}

// Lists the classes the plug-in library offers, as the host sees them at load.
int runClasses()
{
    fmt::print("{}\n", LibDescription() ? LibDescription() : "");
    for (int i = 0; i < LibNumberClasses(); ++i) {
        ClassDesc2* cd = LibClassDesc(i);
        Class_ID id = cd->ClassID();
        fmt::print("{}  0x{:08X} 0x{:08X}  super 0x{:04X}  {:<7} {:<32} {}\n", i, id.PartA(), id.PartB(),
                   cd->SuperClassID(), cd->IsPublic() ? "public" : "hidden", cd->InternalName(),
                   cd->ClassName());
    }
    return 0;
}

// Each look with its description, the --paint default marked.
int runLooks()
{
    try {
        for (const standalone::document::Look& look : standalone::document::looks())
            fmt::print("{:<10} {}{}\n", look.name, look.description,
                       look.name == app::kDefaultPaintLook ? " (--paint's default)" : "");
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }
    return 0;
}

// WxH, both positive.
bool parseSize(const std::string& text, int& width, int& height)
{
    char x = 0, extra = 0;
    return std::sscanf(text.c_str(), "%d%c%d%c", &width, &x, &height, &extra) == 3 &&
           (x == 'x' || x == 'X') && width > 0 && height > 0 && width <= 32768 && height <= 32768;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App cli{"vermil: paints 3D scenes with brush strokes on a wet-paint canvas"};
    cli.set_version_flag("--version", "vermil 0.1.0");
    cli.require_subcommand(1);

    app::RenderOptions render;
    std::string size;
    auto* renderCmd = cli.add_subcommand("render", "Render a scene document or a model file to images");
    renderCmd
        ->add_option("scene", render.scenePath, "Scene document (JSON) or model file (glTF, FBX, OBJ, ...)")
        ->check(CLI::ExistingFile);
    renderCmd->add_option("-o,--output", render.output,
                          "Image to write (.png 16-bit, .tif, or .exr: one file with the render elements and "
                          "the G-buffer as layers)");
    renderCmd
        ->add_option("--layers", render.layers,
                     "Layers of an .exr image, e.g. beauty,lines,Z (default: all; `vermil info --layers` "
                     "lists them)")
        ->delimiter(',');
    renderCmd->add_option("--size", size, "Image size WxH, overriding the document's");
    renderCmd->add_option("--threads", render.threads, "Shading threads (0: all cores)")
        ->check(CLI::Range(0, 1024));
    renderCmd
        ->add_option("--compression", render.compression,
                     "Compression of PNG and EXR images, 0 (none) to 9 (smallest, slowest); default: fast")
        ->check(CLI::Range(0, 9));
    renderCmd->add_option("--renderer", render.renderer, "Renderer class name (scanline for the host's own)");
    std::string frames;
    renderCmd->add_option("--frames", frames, "Frames to render: A-B, A,B,C or a mix; one image per frame");
    renderCmd->add_flag("--serial-writes", render.serialWrites,
                        "Write each frame before rendering the next (by default a frame is written while "
                        "the next renders, holding one more copy of its images)");
    auto* paint = renderCmd
                      ->add_option("--paint", render.paintLook,
                                   fmt::format("Paint every material with a look (default {}; see `vermil "
                                               "looks`), rendered by vmlRenderer",
                                               app::kDefaultPaintLook))
                      ->expected(0, 1);
    renderCmd->add_flag("--lines", render.lines,
                        "Add outlines and creases (a line effect on material effects channel 1, which "
                        "materials on channel 0 join) unless the scene has a line effect");
    renderCmd->add_flag("--stats", render.stats, "Print per-frame figures as name: value lines");
    renderCmd->add_flag("--quiet", render.quiet, "No progress bar; message boxes are only recorded");
    std::string progressStyle = "bar";
    renderCmd
        ->add_option("--progress", progressStyle,
                     "bar (default), or plain: one `progress 0.42 TITLE` line on stderr per hundredth, for "
                     "programs that run vermil")
        ->check(CLI::IsMember({"bar", "plain"}));

    std::string chartOutput;
    auto* chart = cli.add_subcommand("blend-chart", "Paint the chart of the sixteen colour blend methods");
    chart->add_option("output", chartOutput, "Image file to write (PNG, TIFF, EXR, ...)")->required();

    std::string infoScene;
    bool infoLayers = false;
    auto* info = cli.add_subcommand("info", "List what a scene document holds and its animation range");
    info->add_option("scene", infoScene, "Scene document (JSON) or model file")
        ->required()
        ->check(CLI::ExistingFile);
    info->add_flag("--layers", infoLayers, "List the layers an .exr render can hold, with their channels");

    auto* classes = cli.add_subcommand("classes", "List the classes the plug-in library offers");
    auto* looks = cli.add_subcommand("looks", "List the looks of --paint and of \"wrap\" in documents");

    app::LinesOptions lines;
    int lineElement = -1;
    std::string linesShowPath;
    auto* linesCmd = cli.add_subcommand("lines", "Line element files (.vme) and lines files (.vma)");
    linesCmd->require_subcommand(1);
    auto* linesSave = linesCmd->add_subcommand(
        "save", "Write a document's line effect to a lines file, or one of its elements to an element file");
    auto* linesDefault = linesCmd->add_subcommand(
        "set-default",
        "Keep an element's line settings (or with --paint its paint settings) for new elements");
    for (CLI::App* sub : {linesSave, linesDefault}) {
        sub->add_option("scene", lines.scenePath, "Scene document with a line effect")
            ->required()
            ->check(CLI::ExistingFile);
        sub->add_option("--effect", lines.effect, "The line effect's name (default: the first line effect)");
        sub->add_option("--element", lineElement, "The element, counted from 0 in drawing order")
            ->check(CLI::NonNegativeNumber);
    }
    linesSave
        ->add_option("-o,--output", lines.output, "File to write: .vma for the effect, .vme for an element")
        ->required();
    linesDefault->get_option("--element")->required();
    linesDefault->add_flag("--paint", lines.paint, "The paint settings instead of the line settings");
    auto* linesShow = linesCmd->add_subcommand("show", "List what a .vme or .vma file holds");
    linesShow->add_option("file", linesShowPath, "Line element file or lines file")
        ->required()
        ->check(CLI::ExistingFile);

    app::BrushPreviewOptions preview;
    std::string previewSize;
    auto* brushPreview =
        cli.add_subcommand("brush-preview", "Write the preview image of a brush tip (dark on white)");
    brushPreview->add_option("scene", preview.scenePath, "Scene document whose brush to show (optional)")
        ->check(CLI::ExistingFile);
    brushPreview->add_option("--brush", preview.brushName,
                             "Painterly material or brush map of the scene (default: the first)");
    brushPreview->add_option("--set", preview.settings, "Brush parameter NAME=VALUE, e.g. brushMapSize=8");
    brushPreview->add_option("--size", previewSize, "Image size WxH (default 256x256)");
    brushPreview->add_option("-o,--output", preview.output, "Image file to write (default brush.png)");

    app::PreviewMaterialOptions materialPreview;
    auto* previewMaterial = cli.add_subcommand(
        "preview-material", "Render one material on a sample object, as a material editor shows it");
    previewMaterial->add_option("scene", materialPreview.scenePath, "Scene document or model file")
        ->required()
        ->check(CLI::ExistingFile);
    previewMaterial->add_option("--material", materialPreview.material, "The material's name")->required();
    previewMaterial->add_option("--shape", materialPreview.shape, "sphere (default), box or teapot");
    previewMaterial->add_option("--size", materialPreview.size,
                                "Width and height in pixels, 16 to 2048 (default 256)");
    previewMaterial->add_option("-o,--output", materialPreview.output, "Image file to write (PNG, EXR, ...)")
        ->required();
    previewMaterial->add_flag("--quiet", materialPreview.quiet,
                              "No progress bar; message boxes are only recorded");

    app::UiOptions ui;
    std::vector<std::string> uiSets, uiSelects, uiPresses, uiPicks;
    auto* uiCmd = cli.add_subcommand("ui", "Open a thing's rollouts, act on their controls, print them");
    uiCmd->add_option("scene", ui.scenePath, "Scene document")->required()->check(CLI::ExistingFile);
    uiCmd->add_flag("--renderer", ui.renderer, "The scene's renderer's rollouts");
    uiCmd->add_option("--material", ui.material, "A material's rollouts, by name");
    uiCmd->add_option("--map", ui.map, "A texture map's rollouts (a brush map's editor), by name");
    uiCmd->add_option(
        "--effect", ui.effect,
        "A render effect's rollouts (the line effect's), by name or by its place in the list from 0");
    uiCmd->add_flag("--json", ui.json, "Print the rollouts as JSON");
    uiCmd->add_flag("--save", ui.save,
                    "Write the changed values back into the scene document (only their text changes)");
    uiCmd->add_option("--previews", ui.previews, "Folder to write the rollouts' preview pictures to");
    uiCmd->add_option("--frame", ui.frame, "The frame whose values the rollouts show and edit (default 0)")
        ->check(CLI::Range(-100000, 100000));
    auto* uiSet =
        uiCmd->add_option("--set", uiSets, "ID=VALUE: type into a spinner or field, on/off a check box");
    auto* uiSelect =
        uiCmd->add_option("--select", uiSelects, "ID=INDEX: choose an item of a list, combo or tabs");
    auto* uiPress = uiCmd->add_option("--press", uiPresses, "ID: press a button, check box or radio button");
    auto* uiPick = uiCmd->add_option("--pick", uiPicks,
                                     "ID=NAME,...: press a button that opens the select-by-name dialog and "
                                     "pick those nodes in it; on a map button, ID=NAME picks that map or "
                                     "material (ID= for none)");
    uiCmd->footer("An ID may be given as TEMPLATE:ID (\"123:1051=10\") where several pages use the same id.");
    // One value per occurrence, every occurrence kept: the events are replayed in command-line order.
    for (CLI::Option* o : {uiSet, uiSelect, uiPress, uiPick})
        o->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

    app::StudioCommandOptions studio;
    auto* studioCmd = cli.add_subcommand("studio", "Edit a scene's looks live in the browser");
    studioCmd->add_option("scene", studio.scenePath, "Scene document")->required()->check(CLI::ExistingFile);
    studioCmd->add_option("--port", studio.port, "Port to listen on (default: a free one)")
        ->check(CLI::Range(0, 65535));
    studioCmd->add_option("--host", studio.host,
                          "Address to listen on (default 127.0.0.1: only this machine can connect)");
    studioCmd->add_flag(
        "--no-browser", [&](std::int64_t) { studio.openBrowser = false; },
        "Print the address without opening a browser");

    app::FarmSubmitOptions farmSubmit;
    app::FarmJobOptions farmJob;
    auto* farm = cli.add_subcommand("farm", "Render frames on a Slurm cluster (docs/farm.md)");
    farm->require_subcommand(1);
    auto* farmSubmitCmd =
        farm->add_subcommand("submit", "Submit a scene's frames as a Slurm job array; prints the job id");
    farmSubmitCmd
        ->add_option("scene", farmSubmit.scenePath, "Scene document or model file, in the shared folder")
        ->required()
        ->check(CLI::ExistingFile);
    farmSubmitCmd->add_option("--frames", farmSubmit.frames,
                              "Frames to render: A-B, A,B,C or a mix (default: the document's range)");
    farmSubmitCmd->add_option("--chunk", farmSubmit.chunkSize, "Frames per array task (default 10)")
        ->check(CLI::Range(1, 100000));
    farmSubmitCmd->add_option("--partition", farmSubmit.partition,
                              "Slurm partition (default: the cluster's)");
    farmSubmitCmd->add_option("--shared", farmSubmit.shared,
                              "Folder every node sees at the same path, holding the scene's files and the "
                              "output (default: the scene's folder)");
    farmSubmitCmd->add_option(
        "-o,--output", farmSubmit.output,
        "Image to write, numbered per frame as by `vermil render` (default: the document's)");
    farmSubmitCmd->add_option("--size", farmSubmit.size, "Image size WxH, overriding the document's");
    farmSubmitCmd
        ->add_option("--cpus-per-task", farmSubmit.cpusPerTask,
                     "CPUs per task (default: the cluster's); vermil renders on all it gets")
        ->check(CLI::Range(1, 1024));
    farmSubmitCmd->add_option("--vermil", farmSubmit.vermil,
                              "The vermil program on the nodes (default: this one)");
    farmSubmitCmd->add_flag("--dry-run", farmSubmit.dryRun,
                            "Print the batch script instead of submitting it");
    auto* farmStatusCmd =
        farm->add_subcommand("status", "Frames of a farm job done, queued or running, failed and missing");
    auto* farmResubmitCmd = farm->add_subcommand(
        "resubmit", "Submit a farm job's missing and failed frames again; prints the new job id");
    for (CLI::App* sub : {farmStatusCmd, farmResubmitCmd}) {
        sub->add_option("job", farmJob.job, "Job id, or the path of its record (.vermil-farm/JOBID.json)")
            ->required();
        sub->add_option("--dir", farmJob.dir, "Folder the frames go to (default: the current folder)");
    }

    CLI11_PARSE(cli, argc, argv);

    static standalone::StandaloneCore core;
    app::setUpHost(core);
    app::cancelOnInterrupt(core);

    if (renderCmd->parsed()) {
        render.plainProgress = progressStyle == "plain";
        if (!size.empty() && !parseSize(size, render.width, render.height)) {
            fmt::print(stderr, "vermil: --size {}: expected WIDTHxHEIGHT, e.g. 1920x1080\n", size);
            return 1;
        }
        // `--paint model.glb`: the look's optional value took the scene.
        if (render.scenePath.empty() && paint->count() > 0 &&
            std::filesystem::is_regular_file(render.paintLook))
            render.scenePath = std::exchange(render.paintLook, "");
        if (render.scenePath.empty()) {
            fmt::print(stderr, "vermil render: a scene document or model file is required\n");
            return 1;
        }
        if (paint->count() > 0 && render.paintLook.empty())
            render.paintLook = app::kDefaultPaintLook;
        if (!frames.empty()) {
            std::string error;
            auto list = app::parseFrameList(frames, error);
            if (!list) {
                fmt::print(stderr, "vermil: --frames {}: {}\n", frames, error);
                return 1;
            }
            render.frames = std::move(*list);
        }
        return app::runRender(render, core);
    }
    if (farm->parsed()) {
        if (farmStatusCmd->parsed())
            return app::runFarmStatus(farmJob);
        if (farmResubmitCmd->parsed())
            return app::runFarmResubmit(farmJob);
        int width = 0, height = 0;
        if (!farmSubmit.size.empty() && !parseSize(farmSubmit.size, width, height)) {
            fmt::print(stderr, "vermil: --size {}: expected WIDTHxHEIGHT, e.g. 1920x1080\n", farmSubmit.size);
            return 1;
        }
        core.setQuietMode(true);
        return app::runFarmSubmit(farmSubmit, core);
    }
    if (info->parsed()) {
        core.setQuietMode(true);
        return infoLayers ? app::runInfoLayers(infoScene, core) : app::runInfo(infoScene, core);
    }
    if (classes->parsed())
        return runClasses();
    if (linesCmd->parsed()) {
        core.setQuietMode(true);
        if (lineElement >= 0)
            lines.element = lineElement;
        if (linesShow->parsed())
            return app::runLinesShow(linesShowPath);
        return linesSave->parsed() ? app::runLinesSave(lines, core) : app::runLinesSetDefault(lines, core);
    }
    if (looks->parsed())
        return runLooks();
    if (brushPreview->parsed()) {
        if (!previewSize.empty() && !parseSize(previewSize, preview.width, preview.height)) {
            fmt::print(stderr, "vermil: --size {}: expected WIDTHxHEIGHT, e.g. 256x256\n", previewSize);
            return 1;
        }
        core.setQuietMode(true);
        return app::runBrushPreview(preview, core);
    }
    if (studioCmd->parsed()) {
        core.setQuietMode(true);
        studio.programPath = argv[0];
        return app::runStudio(studio, core);
    }
    if (uiCmd->parsed()) {
        core.setQuietMode(true);
        // The events in the order given on the command line.
        std::map<CLI::Option*, std::size_t> next;
        for (CLI::Option* o : uiCmd->parse_order()) {
            const std::size_t i = next[o]++;
            const std::vector<std::string>& values = o == uiSet      ? uiSets
                                                     : o == uiSelect ? uiSelects
                                                     : o == uiPress  ? uiPresses
                                                     : o == uiPick   ? uiPicks
                                                                     : std::vector<std::string>{};
            if (i >= values.size())
                continue;
            app::UiEvent e;
            e.kind = o == uiSet      ? app::UiEvent::set
                     : o == uiSelect ? app::UiEvent::select
                     : o == uiPress  ? app::UiEvent::press
                                     : app::UiEvent::pick;
            const bool ok =
                app::parseUiAssignment(e.kind == app::UiEvent::press ? values[i] + "=" : values[i], e);
            if (!ok) {
                fmt::print(stderr, "vermil: ui: {} {}: expected {}\n", o->get_name(), values[i],
                           e.kind == app::UiEvent::press ? "a control id ([TEMPLATE:]ID)"
                                                         : "[TEMPLATE:]ID=VALUE");
                return 1;
            }
            ui.events.push_back(std::move(e));
        }
        return app::runUi(ui, core);
    }
    if (previewMaterial->parsed())
        return app::runPreviewMaterial(materialPreview, core);
    if (chart->parsed())
        return runBlendChart(chartOutput);
    return 0;
}
