#include "standalone/images/ImageModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace standalone {

namespace {

namespace fs = std::filesystem;

constexpr const char* kModuleFile = VML_IMAGE_MODULE_FILE;

}  // namespace

std::vector<fs::path> imageModuleCandidates()
{
    std::vector<fs::path> paths;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        paths.push_back(program.parent_path() / kModuleFile);
        paths.push_back(program.parent_path().parent_path() / "lib" / "vermil" / kModuleFile);
    }
    paths.emplace_back(VML_IMAGE_MODULE_BUILT);
    return paths;
}

LoadedImageModule loadImageModule(const std::vector<fs::path>& candidates)
{
    std::string tried;
    for (const fs::path& path : candidates) {
        std::error_code ec;
        if (!fs::exists(path, ec))
            continue;
        // Local, so that the image library's symbols cannot stand in for anyone else's; lazy, as
        // binding every function of its 260 libraries up front costs a tenth more.
        void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (!module) {
            const char* reason = ::dlerror();
            tried += "; " + path.string() + ": " + (reason ? reason : "cannot be loaded");
            continue;
        }
        const auto entry = reinterpret_cast<ImageCodecsEntry>(::dlsym(module, kImageCodecsEntryName));
        const ImageCodecs* codecs = entry ? entry(kImageCodecsVersion) : nullptr;
        if (codecs)
            return {codecs, {}};  // kept loaded for the life of the program
        tried += "; " + path.string() +
                 (entry ? ": from another version of the program" : ": not an image module of this program");
        ::dlclose(module);
    }
    if (tried.empty()) {
        tried = "; it is in none of ";
        for (std::size_t i = 0; i < candidates.size(); ++i)
            tried += (i ? ", " : "") + candidates[i].string();
    }
    return {nullptr, "cannot load the image module " + std::string(kModuleFile) +
                         ", which reads and writes image files with OpenImageIO" + tried};
}

const ImageCodecs* imageCodecs(std::string& error)
{
    static const LoadedImageModule loaded = loadImageModule(imageModuleCandidates());
    if (!loaded.codecs)
        error = loaded.error;
    return loaded.codecs;
}

}  // namespace standalone
