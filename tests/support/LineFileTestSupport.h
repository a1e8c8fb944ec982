#pragma once
// The standalone host set up for the line file tests: message boxes recorded, one settings folder
// for the process (the first element reads the line settings file from it), the process-wide file
// state put back after every test, and bytes on disk.

#include "support/LineElementTestSupport.h"

#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "line/LineDefaultSettings.h"
#include "line/LineFiles.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "shell/StringLookup.h"
#include "standalone/StandaloneCore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace test_support {

inline const std::string loadFailed = "ﾌｧｲﾙの読み込みに失敗しました";
inline const std::string saveFailed = "ﾌｧｲﾙの書き込みに失敗しました";

using Bytes = std::vector<std::uint8_t>;

inline void writeBytes(const std::filesystem::path& p, const Bytes& bytes)
{
    // A new file, not a truncated one: some file systems flush a file rewritten in place when it
    // closes, which loops over thousands of files would wait for.
    std::error_code ec;
    std::filesystem::remove(p, ec);
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readBytes(const std::filesystem::path& p)
{
    const std::string text = TempDir::readText(p);
    return Bytes(text.begin(), text.end());
}

inline void putWordAt(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (std::size_t k = 0; k < 4; ++k)
        b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

// All a load could change: the selection, and per element its address, type and both blocks as
// saved (values, keys, name).
inline Bytes stateOf(vml::LineFxManager& m)
{
    ChunkWriter w;
    Bytes out{static_cast<std::uint8_t>(m.selected())};
    for (int i = 0; i < m.elementCount(); ++i) {
        vml::LineFxElement* e = m.element(i);
        e->pblock()->Save(&w);
        e->paintBlock()->Save(&w);
        const auto address = reinterpret_cast<std::uintptr_t>(e);
        out.insert(out.end(), reinterpret_cast<const std::uint8_t*>(&address),
                   reinterpret_cast<const std::uint8_t*>(&address) + sizeof address);
        out.push_back(static_cast<std::uint8_t>(e->type()));
    }
    out.insert(out.end(), w.Bytes().begin(), w.Bytes().end());
    return out;
}

class LineFileFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int moduleToken = 0;
        static TempDir settings;
        vml::setModuleHandle(&moduleToken);
        core.setDir(APP_PLUGCFG_DIR, settings.dir());
        core.setQuietMode(true);
        SetCOREInterface(&core);
        // The first element of the process fills the defaults, which are then kept.
        if (!vml::lineDefaultSettingsFilled())
            vml::LineFxElement first;
        savedDefaults = vml::lineDefaultSettings();
    }
    void TearDown() override
    {
        vml::lineDefaultSettings() = savedDefaults;
        vml::lineLoadMerge() = false;
        vml::lineLoadMethodQuery() = nullptr;
        SetCOREInterface(nullptr);
        vml::setModuleHandle(nullptr);
    }

    std::string file(const std::string& name) const { return (dir.path() / name).string(); }

    // The texts of the message boxes shown, each checked for its caption and style.
    std::vector<std::string> shown() const
    {
        std::vector<std::string> texts;
        for (const standalone::RecordedMessage& m : core.messages()) {
            EXPECT_EQ(m.caption, "Vermil+");
            EXPECT_EQ(m.type, MB_OK | MB_ICONEXCLAMATION);
            texts.push_back(m.text);
        }
        return texts;
    }

    standalone::StandaloneCore core;
    TempDir dir;
    vml::LineSettings savedDefaults;
};

}  // namespace test_support
