#include "standalone/ui/SceneThings.h"

#include "host/Effect.h"
#include "host/Mtl.h"
#include "host/Texmap.h"
#include "standalone/Scene.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace standalone {

MtlBase* findMaterialOrMap(Scene& scene, const std::string& name, bool wantMap)
{
    std::vector<MtlBase*> todo;
    for (const auto& node : scene.nodes())
        if (Mtl* m = node->GetMtl())
            todo.push_back(m);
    if (scene.environment.map)
        todo.push_back(scene.environment.map);
    std::vector<MtlBase*> seen;
    while (!todo.empty()) {
        MtlBase* m = todo.back();
        todo.pop_back();
        if (!m || std::find(seen.begin(), seen.end(), m) != seen.end())
            continue;
        seen.push_back(m);
        if (m->GetName() == name && (dynamic_cast<Texmap*>(m) != nullptr) == wantMap)
            return m;
        for (int i = 0; i < m->NumSubTexmaps(); ++i)
            todo.push_back(m->GetSubTexmap(i));
        if (auto* mtl = dynamic_cast<Mtl*>(m))
            for (int i = 0; i < mtl->NumSubMtls(); ++i)
                todo.push_back(mtl->GetSubMtl(i));
    }
    return nullptr;
}

Effect* findEffect(Scene& scene, const std::string& nameOrIndex)
{
    for (Effect* e : scene.effects)
        if (e && e->GetName() == nameOrIndex)
            return e;
    int index = -1;
    const char* end = nameOrIndex.data() + nameOrIndex.size();
    if (std::from_chars(nameOrIndex.data(), end, index).ptr == end && index >= 0 &&
        index < int(scene.effects.size()))
        return scene.effects[std::size_t(index)];
    return nullptr;
}

}  // namespace standalone
