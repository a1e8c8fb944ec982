#include "app/FrameList.h"

#include <fmt/core.h>

#include <charconv>
#include <filesystem>
#include <set>

namespace app {

namespace {

bool parseFrame(std::string_view s, int& out)
{
    if (s.empty())
        return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && out >= 0;
}

}  // namespace

std::optional<std::vector<int>> parseFrameList(const std::string& text, std::string& error,
                                               std::size_t maxFrames)
{
    std::vector<int> frames;
    std::set<int> seen;
    std::string_view rest = text;
    while (true) {
        std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        int a = 0, b = 0;
        std::size_t dash = item.find('-');
        bool ok = dash == std::string_view::npos
                      ? parseFrame(item, a) && (b = a, true)
                      : parseFrame(item.substr(0, dash), a) && parseFrame(item.substr(dash + 1), b);
        if (!ok) {
            error =
                fmt::format("\"{}\" is not a frame or a range A-B of frames (whole numbers from 0)", item);
            return std::nullopt;
        }
        if (b < a) {
            error = fmt::format("range \"{}\" runs backwards", item);
            return std::nullopt;
        }
        if (static_cast<std::size_t>(b - a) >= maxFrames || frames.size() + (b - a) >= maxFrames) {
            error = fmt::format("more than {} frames", maxFrames);
            return std::nullopt;
        }
        for (int f = a; f <= b; ++f)
            if (seen.insert(f).second)
                frames.push_back(f);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return frames;
}

std::string formatFrameList(const std::vector<int>& frames)
{
    std::string text;
    for (std::size_t i = 0; i < frames.size();) {
        std::size_t j = i;
        while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1)
            ++j;
        if (!text.empty())
            text += ',';
        text += j == i ? fmt::format("{}", frames[i]) : fmt::format("{}-{}", frames[i], frames[j]);
        i = j + 1;
    }
    return text;
}

}  // namespace app
