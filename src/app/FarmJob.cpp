#include "app/FarmJob.h"

#include "app/FrameList.h"

#include <fmt/core.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace app {

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// A record's format, raised when a field changes meaning.
constexpr int kRecordVersion = 1;

struct RecordError {
    std::string message;
};

const Json& field(const Json& object, const char* name, const std::string& at)
{
    if (!object.is_object() || !object.contains(name))
        throw RecordError{fmt::format("{}/{}: missing", at, name)};
    return object.at(name);
}

std::string stringField(const Json& object, const char* name, const std::string& at)
{
    const Json& v = field(object, name, at);
    if (!v.is_string())
        throw RecordError{fmt::format("{}/{}: expected a string", at, name)};
    return v.get<std::string>();
}

int intField(const Json& object, const char* name, const std::string& at, int min)
{
    const Json& v = field(object, name, at);
    if (!v.is_number_integer() || v.get<long long>() < min || v.get<long long>() > 1000000)
        throw RecordError{fmt::format("{}/{}: expected a whole number from {}", at, name, min)};
    return v.get<int>();
}

std::vector<std::string> stringList(const Json& object, const char* name, const std::string& at)
{
    const Json& v = field(object, name, at);
    if (!v.is_array())
        throw RecordError{fmt::format("{}/{}: expected an array of strings", at, name)};
    std::vector<std::string> out;
    for (const Json& s : v) {
        if (!s.is_string())
            throw RecordError{fmt::format("{}/{}: expected an array of strings", at, name)};
        out.push_back(s.get<std::string>());
    }
    return out;
}

}  // namespace

fs::path farmFolder(const std::string& output) { return fs::path(output).parent_path() / ".vermil-farm"; }

fs::path recordPath(const std::string& output, const std::string& jobId)
{
    return farmFolder(output) / (jobId + ".json");
}

std::string toJsonText(const FarmJob& job)
{
    Json arrays = Json::array();
    for (const FarmArray& a : job.arrays)
        arrays.push_back({{"jobId", a.jobId}, {"chunks", a.chunks}});
    const Json j = {{"version", kRecordVersion},
                    {"scene", job.scene},
                    {"output", job.output},
                    {"vermil", job.vermil},
                    {"frames", formatFrameList(job.frames)},
                    {"chunkSize", job.chunkSize},
                    {"partition", job.partition},
                    {"cpusPerTask", job.cpusPerTask},
                    {"size", job.size},
                    {"arrays", arrays}};
    return j.dump(2) + "\n";
}

std::string saveRecord(const FarmJob& job, const fs::path& path)
{
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec)
        return fmt::format("{}: cannot make the folder: {}", path.parent_path().string(), ec.message());
    const fs::path temporary = path.string() + fmt::format(".tmp{}", ::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << toJsonText(job);
        out.flush();
        if (!out) {
            const std::string why = std::strerror(errno);
            out.close();
            fs::remove(temporary, ec);
            return fmt::format("{}: cannot write: {}", temporary.string(), why);
        }
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return fmt::format("{}: cannot replace: {}", path.string(), ec.message());
    }
    return {};
}

std::optional<FarmJob> loadRecord(const fs::path& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = fmt::format("{}: cannot read the job record: {}", path.string(), std::strerror(errno));
        return std::nullopt;
    }
    std::stringstream text;
    text << in.rdbuf();
    const Json j = Json::parse(text.str(), nullptr, false);
    if (j.is_discarded()) {
        error = fmt::format("{}: not a job record: expected JSON", path.string());
        return std::nullopt;
    }
    try {
        const std::string at = "";
        if (intField(j, "version", at, 0) != kRecordVersion)
            throw RecordError{fmt::format("/version: expected {}", kRecordVersion)};
        FarmJob job;
        job.scene = stringField(j, "scene", at);
        job.output = stringField(j, "output", at);
        job.vermil = stringField(j, "vermil", at);
        std::string frameError;
        auto frames = parseFrameList(stringField(j, "frames", at), frameError);
        if (!frames)
            throw RecordError{"/frames: " + frameError};
        job.frames = std::move(*frames);
        job.chunkSize = intField(j, "chunkSize", at, 1);
        job.partition = stringField(j, "partition", at);
        job.cpusPerTask = intField(j, "cpusPerTask", at, 0);
        job.size = stringField(j, "size", at);
        const Json& arrays = field(j, "arrays", at);
        if (!arrays.is_array() || arrays.empty())
            throw RecordError{"/arrays: expected an array of job arrays {\"jobId\", \"chunks\"}"};
        for (std::size_t i = 0; i < arrays.size(); ++i) {
            const std::string arrayAt = fmt::format("/arrays/{}", i);
            job.arrays.push_back(
                {stringField(arrays[i], "jobId", arrayAt), stringList(arrays[i], "chunks", arrayAt)});
        }
        return job;
    } catch (const RecordError& e) {
        error = fmt::format("{}: {}", path.string(), e.message);
        return std::nullopt;
    }
}

}  // namespace app
