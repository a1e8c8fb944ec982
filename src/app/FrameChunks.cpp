#include "app/FrameChunks.h"

#include <algorithm>

namespace app {

std::vector<std::vector<int>> chunkFrames(const std::vector<int>& frames, int chunkSize)
{
    const std::size_t size = static_cast<std::size_t>(std::max(1, chunkSize));
    std::vector<std::vector<int>> chunks;
    for (std::size_t i = 0; i < frames.size(); i += size)
        chunks.emplace_back(frames.begin() + static_cast<std::ptrdiff_t>(i),
                            frames.begin() + static_cast<std::ptrdiff_t>(std::min(frames.size(), i + size)));
    return chunks;
}

}  // namespace app
