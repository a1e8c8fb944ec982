// vermil: the command-line program. Every failure becomes a message on stderr and a non-zero
// exit code here; the libraries below only return results.

#include "app/BlendChart.h"
#include "shell/EntryPoints.h"
#include "standalone/ImageOutput.h"
#include "standalone/StandaloneCore.h"

#include <CLI/CLI.hpp>
#include <fmt/core.h>

#include <cstdio>
#include <string>

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

}  // namespace

int main(int argc, char** argv)
{
    CLI::App cli{"vermil: paints 3D scenes with brush strokes on a wet-paint canvas"};
    cli.set_version_flag("--version", "vermil 0.1.0");
    cli.require_subcommand(1);

    std::string chartOutput;
    auto* chart = cli.add_subcommand("blend-chart", "Paint the chart of the sixteen colour blend methods");
    chart->add_option("output", chartOutput, "Image file to write (PNG, TIFF, EXR, ...)")->required();

    auto* classes = cli.add_subcommand("classes", "List the classes the plug-in library offers");

    CLI11_PARSE(cli, argc, argv);

    // Our host: one core interface for the process, and the plug-in library loaded into it.
    static standalone::StandaloneCore core;
    SetCOREInterface(&core);
    static int module = 0;
    vml::libraryEntry(&module);
    LibInitialize();

    if (classes->parsed())
        return runClasses();

    if (chart->parsed())
        return runBlendChart(chartOutput);
    return 0;
}
