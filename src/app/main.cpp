// vermil: the command-line program. Every failure becomes a message on stderr and a non-zero
// exit code here; the libraries below only return results.

#include "app/BlendChart.h"
#include "standalone/ImageOutput.h"

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

}  // namespace

int main(int argc, char** argv)
{
    CLI::App cli{"vermil: paints 3D scenes with brush strokes on a wet-paint canvas"};
    cli.set_version_flag("--version", "vermil 0.1.0");
    cli.require_subcommand(1);

    std::string chartOutput;
    auto* chart = cli.add_subcommand("blend-chart", "Paint the chart of the sixteen colour blend methods");
    chart->add_option("output", chartOutput, "Image file to write (PNG, TIFF, EXR, ...)")->required();

    CLI11_PARSE(cli, argc, argv);

    if (chart->parsed())
        return runBlendChart(chartOutput);
    return 0;
}
