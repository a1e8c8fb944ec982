#include "standalone/document/PartLists.h"

#include <map>
#include <mutex>
#include <utility>

namespace standalone::document {

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::pair<std::string, std::string>, PartListReader, std::less<>> readers;
};

Registry& registry()
{
    static Registry r;
    return r;
}

}  // namespace

void registerPartList(std::string className, std::string key, PartListReader reader)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.readers[{std::move(className), std::move(key)}] = std::move(reader);
}

const PartListReader* findPartList(std::string_view className, std::string_view key)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    auto it = r.readers.find(std::pair<std::string, std::string>(className, key));
    return it == r.readers.end() ? nullptr : &it->second;
}

}  // namespace standalone::document
