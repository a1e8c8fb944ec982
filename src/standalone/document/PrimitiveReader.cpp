#include "standalone/document/PrimitiveReader.h"

#include "standalone/primitives/Box.h"
#include "standalone/primitives/Cylinder.h"
#include "standalone/primitives/Plane.h"
#include "standalone/primitives/Sphere.h"
#include "standalone/primitives/Teapot.h"
#include "standalone/primitives/Torus.h"

namespace standalone::document {

namespace {

template <class Params> Params readParams(ObjectReader& object)
{
    Params p;
    for (const PrimitiveField<Params>& f : Params::fields()) {
        if (auto m = std::get_if<float Params::*>(&f.member))
            p.** m = float(object.number(f.name, p.**m, f.range));
        else if (auto i = std::get_if<int Params::*>(&f.member))
            p.** i = object.integer(f.name, p.**i, f.range);
        else if (auto b = std::get_if<bool Params::*>(&f.member))
            p.** b = object.boolean(f.name, p.**b);
    }
    return p;
}

struct PrimitiveType {
    std::string name;
    std::shared_ptr<Mesh> (*read)(ObjectReader&);
};

const std::vector<PrimitiveType>& types()
{
    static const std::vector<PrimitiveType> all = {
        {"plane", [](ObjectReader& o) { return makePlane(readParams<PlaneParams>(o)); }},
        {"box", [](ObjectReader& o) { return makeBox(readParams<BoxParams>(o)); }},
        {"sphere", [](ObjectReader& o) { return makeSphere(readParams<SphereParams>(o)); }},
        {"cylinder", [](ObjectReader& o) { return makeCylinder(readParams<CylinderParams>(o)); }},
        {"torus", [](ObjectReader& o) { return makeTorus(readParams<TorusParams>(o)); }},
        {"teapot", [](ObjectReader& o) { return makeTeapot(readParams<TeapotParams>(o)); }},
    };
    return all;
}

}  // namespace

const std::vector<std::string>& primitiveTypes()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const PrimitiveType& t : types())
            n.push_back(t.name);
        return n;
    }();
    return names;
}

std::shared_ptr<Mesh> readPrimitive(std::string_view type, ObjectReader& object)
{
    for (const PrimitiveType& t : types())
        if (t.name == type)
            return t.read(object);
    return nullptr;
}

}  // namespace standalone::document
