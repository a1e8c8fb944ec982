#include "FuzzHost.h"

#include "app/HostSetup.h"
#include "standalone/StandaloneCore.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzz {

namespace {

void removeScratch()
{
    std::error_code ec;
    std::filesystem::remove_all(scratchDir(), ec);
}

}  // namespace

const std::string& scratchDir()
{
    // Never destroyed: the exit handler that removes the folder runs after static destructors.
    static const std::string* dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vermil_fuzz_XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        auto* made = new std::string(pattern + "/");
        std::atexit(removeScratch);
        return made;
    }();
    return *dir;
}

std::string writeScratchFile(const std::string& name, std::span<const std::uint8_t> bytes)
{
    const std::string path = scratchDir() + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::abort();
    return path;
}

void fail(const std::string& what)
{
    std::fprintf(stderr, "harness: %s\n", what.c_str());
    std::abort();
}

standalone::StandaloneCore& host()
{
    static standalone::StandaloneCore* core = [] {
        // The settings files the system reads and rewrites stay out of the real home.
        ::setenv("VERMIL_PLUGCFG_DIR", (scratchDir() + "plugcfg/").c_str(), 1);
        ::setenv("VERMIL_DATA_DIR", (scratchDir() + "data/").c_str(), 1);
        auto* made = new standalone::StandaloneCore;
        made->setQuietMode(true);
        app::setUpHost(*made);
        return made;
    }();
    core->clearMessages();
    return *core;
}

}  // namespace fuzz
