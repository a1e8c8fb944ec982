// Writes the generated part of the seed corpora: what the library itself saves. Run it when a
// format changes and commit what it writes:
//   build/fuzz/fuzz/seed_corpus_writer fuzz/corpus
// Chunk streams: every class of the library and every parameter block, as made and with keys and
// a name. Line files: an element file, a lines file and an older, shorter element file. Settings:
// the preset and line settings files as the system writes them.

#include "FuzzHost.h"

#include "host/ChunkWriter.h"
#include "host/Effect.h"
#include "host/IParamBlock2.h"
#include "host/MtlBase.h"
#include "host/PrivateProfile.h"
#include "host/ReferenceTarget.h"
#include "line/LineDefaultSettings.h"
#include "line/LineFileFormat.h"
#include "line/LineSettingsFile.h"
#include "material/MaterialPresetFile.h"
#include "plugin/EntryPoints.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Keys at two frames on the first animatable float of the block.
void addKeys(IParamBlock2& block)
{
    for (int i = 0; i < block.NumParams(); ++i) {
        const ParamID id = block.IndextoID(i);
        const ParamDef* def = block.GetParamDef(id);
        if (def && def->animatable() && baseType(def->type) == TYPE_FLOAT) {
            block.SetKey(id, 0, 1.0f);
            block.SetKey(id, 4800, 2.0f);
            return;
        }
    }
}

void writeChunkStreams(const fs::path& dir)
{
    const int classes = LibNumberClasses();
    for (int row = 0; row < classes; ++row) {
        for (bool changed : {false, true}) {
            ReferenceTarget* object = LibClassDesc(row)->Create(FALSE);
            if (auto* named = dynamic_cast<MtlBase*>(object); named && changed)
                named->SetName("seed \xc3\xa9");
            if (auto* named = dynamic_cast<Effect*>(object); named && changed)
                named->SetName("seed \xc3\xa9");
            for (int part = 0; part <= object->NumParamBlocks(); ++part) {
                ReferenceMaker* maker =
                    part == 0 ? static_cast<ReferenceMaker*>(object) : object->GetParamBlock(part - 1);
                if (!maker)
                    continue;
                if (changed && part > 0)
                    addKeys(*object->GetParamBlock(part - 1));
                ChunkWriter w;
                if (maker->Save(&w) != IO_OK || w.Status() != IO_OK)
                    continue;
                std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(row + classes * part)};
                bytes.insert(bytes.end(), w.Bytes().begin(), w.Bytes().end());
                char name[64];
                std::snprintf(name, sizeof name, "class%d_part%d%s", row, part, changed ? "_keys" : "");
                writeFile(dir / name, bytes);
            }
            object->DeleteThis();
        }
    }
}

void writeLineFiles(const fs::path& dir)
{
    const vml::LineSettings& defaults = vml::lineDefaultSettings();
    vml::LineSettings wide = vml::lineBlockDefaults();
    wide.lineWidth = 7.5f;
    wide.outlineObject = 1;
    const std::vector<std::uint8_t> element = vml::elementFileContents(wide, defaults);
    writeFile(dir / "wide.vme", element);

    // An older file: ten records per block.
    std::vector<std::uint8_t> shorter(element.begin(), element.begin() + 12 + vml::lineRecordBlockSize(10));
    shorter[8] = 10;
    writeFile(dir / "ten_records.vme", shorter);

    std::vector<vml::LineFileElement> elements(3);
    const char* names[] = {"outline", "", "crease \xe6\xb7\xb1"};
    for (int k = 0; k < 3; ++k) {
        elements[static_cast<std::size_t>(k)].type = k + 1;
        elements[static_cast<std::size_t>(k)].name = names[k];
        elements[static_cast<std::size_t>(k)].settings = k == 1 ? wide : vml::lineBlockDefaults();
    }
    writeFile(dir / "three.vma", vml::linesFileContents(elements, defaults));
}

void writeSettingsFiles(const fs::path& dir)
{
    fs::create_directories(dir);
    const std::string presets = (dir / "presets.ini").string();
    fs::remove(presets);
    const vml::MaterialPresetValues values = vml::materialBlockDefaults();
    for (auto section : {vml::PresetSection::Brush, vml::PresetSection::Stroke, vml::PresetSection::Paint})
        vml::writeMaterialPresetSection(presets.c_str(), section, values);
    const std::string line = (dir / "line.ini").string();
    fs::remove(line);
    vml::writeLineSettingsKeys(line.c_str(), vml::lineSettingsKeys(), vml::lineBlockDefaults());
    vml::writeLineSettingsKeys(line.c_str(), vml::linePaintSettingsKeys(), vml::lineBlockDefaults());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: seed_corpus_writer CORPUS_DIR\n");
        return 2;
    }
    fuzz::host();
    const fs::path corpus = argv[1];
    writeChunkStreams(corpus / "chunk_load");
    writeLineFiles(corpus / "line_files");
    writeSettingsFiles(corpus / "settings_files");
    return 0;
}
