#pragma once
// What the command tests share: a host set up as the program sets up its own, quiet, and a
// temporary folder of the test's own, removed after.

#include "app/HostSetup.h"
#include "host/Interface.h"
#include "standalone/StandaloneCore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace test_support {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setQuietMode(true);
        app::setUpHost(core);
    }
    void TearDown() override { SetCOREInterface(nullptr); }

    TempDir temp;
    std::filesystem::path dir = temp.path();
    standalone::StandaloneCore core;
};

}  // namespace test_support
