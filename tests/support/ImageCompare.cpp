#include "support/ImageCompare.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imagebufalgo.h>

#include <cstdlib>
#include <sstream>
#include <string_view>

namespace test_support {

namespace fs = std::filesystem;

namespace {

bool updatingReferences()
{
    const char* update = std::getenv("VERMIL_UPDATE_REFERENCES");
    return update && std::string_view(update) == "1";
}

fs::path beside(const fs::path& reference, const char* suffix)
{
    return reference.parent_path() / (reference.stem().string() + suffix);
}

}  // namespace

ImageVerdict compareWithReference(const fs::path& actual, const fs::path& reference,
                                  const ImageTolerance& tolerance)
{
    ImageVerdict verdict;
    const fs::path newImage = beside(reference, ".new.png"), diffImage = beside(reference, ".diff.png");
    std::error_code ignored;
    if (updatingReferences()) {
        // Kept small: 8 bits a channel (a step of 1/255 lies well within any tolerance), deflated hard.
        fs::create_directories(reference.parent_path(), ignored);
        OIIO::ImageBuf image(actual.string());
        image.set_write_format(OIIO::TypeDesc::UINT8);
        image.specmod().attribute("png:compressionLevel", 9);
        verdict.pass = image.write(reference.string());
        fs::remove(newImage, ignored);
        fs::remove(diffImage, ignored);
        verdict.summary = verdict.pass ? "reference " + reference.string() + " rewritten"
                                       : "cannot write " + reference.string() + ": " + image.geterror();
        return verdict;
    }

    OIIO::ImageBuf a(actual.string()), b(reference.string());
    if (!a.read(0, 0, true, OIIO::TypeDesc::FLOAT) || !b.read(0, 0, true, OIIO::TypeDesc::FLOAT)) {
        verdict.summary = "cannot read " + actual.string() + " or " + reference.string() + ": " +
                          a.geterror() + b.geterror() +
                          " (VERMIL_UPDATE_REFERENCES=1 writes missing references)";
        return verdict;
    }
    std::ostringstream out;
    if (a.spec().width != b.spec().width || a.spec().height != b.spec().height ||
        a.spec().nchannels != b.spec().nchannels) {
        out << actual.string() << " is " << a.spec().width << "x" << a.spec().height << "x"
            << a.spec().nchannels << ", the reference " << b.spec().width << "x" << b.spec().height << "x"
            << b.spec().nchannels;
    } else {
        const auto result = OIIO::ImageBufAlgo::compare(a, b, tolerance.fail, tolerance.fail);
        const double values = static_cast<double>(a.spec().image_pixels()) * a.spec().nchannels;
        const double failing = static_cast<double>(result.nfail) / values;
        verdict.pass =
            !result.error && failing <= tolerance.failFraction && result.maxerror <= tolerance.hardFail;
        out << "mean difference " << result.meanerror << ", largest " << result.maxerror << " at ("
            << result.maxx << ", " << result.maxy << ") channel " << result.maxc << ", " << result.nfail
            << " values (" << failing * 100.0 << " %) over " << tolerance.fail;
    }
    if (!verdict.pass) {
        fs::copy_file(actual, newImage, fs::copy_options::overwrite_existing, ignored);
        OIIO::ImageBuf diff = OIIO::ImageBufAlgo::absdiff(a, b);
        diff = OIIO::ImageBufAlgo::mul(diff, 4.0f);
        if (diff.nchannels() == 4)
            diff = OIIO::ImageBufAlgo::channels(diff, 3, {});  // the colour difference, opaque
        diff.write(diffImage.string());
        out << "; wrote " << newImage.string() << " and " << diffImage.string();
    }
    verdict.summary = out.str();
    return verdict;
}

}  // namespace test_support
