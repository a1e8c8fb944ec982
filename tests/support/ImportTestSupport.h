#pragma once
// Model files for import tests, written by the tests themselves: glTF 2.0 documents whose binary
// data sits in one base64 data URI, and a host set up with its own classes.

#include "host/Matrix3.h"
#include "standalone/Scene.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "support/DocumentTestClasses.h"
#include "support/TestShadeContext.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace test_support {

// A glTF document under construction. Nodes added with node() are roots of the one scene.
class Gltf {
public:
    Gltf();

    // Accessors: float data of a type ("SCALAR", "VEC2", "VEC3", "VEC4") and 16-bit indices.
    int floats(const std::vector<float>& values, const std::string& type);
    int indices(const std::vector<std::uint16_t>& values);
    // A mesh of one triangle primitive; optional attributes are left out when empty, material < 0.
    int mesh(const std::vector<float>& positions, const std::vector<std::uint16_t>& triangles,
             const std::vector<float>& normals = {}, const std::vector<float>& uvs = {}, int material = -1,
             const std::string& name = "");
    // Appends a node; root nodes join the scene.
    int node(nlohmann::json node, bool root = true);
    int add(const std::string& array, nlohmann::json value);

    std::string text() const;
    nlohmann::json doc;

private:
    std::vector<std::uint8_t> data_;
};

// The unit square in the glTF XY plane (its front faces glTF +Z), two triangles, with normals +Z
// and UVs (0, 0) at glTF (0, 0, 0) to (1, 1) at (1, 1, 0) as glTF writes them (v down).
int unitSquare(Gltf& gltf, int material = -1, const std::string& name = "");

// A host with the Standard material and the Bitmap, Checker, Noise and Gradient maps, the
// plug-in-style test classes, and a temporary directory.
class ImportFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the document text written to path (in the temporary directory); what loading warns
    // about is kept in `warnings`.
    std::unique_ptr<standalone::Scene> loadDocument(const std::string& path, const std::string& text);
    // The error of a document that must not load; a test failure when it loads.
    standalone::SceneError documentError(const std::string& path, const std::string& text);

    standalone::StandaloneCore core;
    test_support::TempDir dir;
    std::vector<std::string> warnings;
};

// The world position of a point in a node's object space at t.
Point3 worldPoint(standalone::SceneNode& node, const Point3& p, TimeValue t = 0);

using test_support::expectNear;

}  // namespace test_support
