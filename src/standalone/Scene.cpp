#include "standalone/Scene.h"

namespace standalone {

Scene::Scene() : root_(std::make_unique<SceneNode>("root")) {}

// Objects may refer to nodes and to each other: drop the objects (which drop their references)
// before the nodes, newest first.
Scene::~Scene()
{
    while (!objects_.empty())
        objects_.pop_back();
    nodes_.clear();
}

SceneNode* Scene::addNode(std::string name, SceneNode* parent)
{
    nodes_.push_back(std::make_unique<SceneNode>(std::move(name)));
    SceneNode* node = nodes_.back().get();
    (parent ? parent : root_.get())->attachChild(node);
    return node;
}

SceneNode* Scene::findNode(const std::string& name)
{
    for (auto& node : nodes_)
        if (node->name() == name)
            return node.get();
    return nullptr;
}

ReferenceTarget* Scene::ownTarget(ReferenceTarget* object)
{
    if (object)
        objects_.emplace_back(object);
    return object;
}

}  // namespace standalone
