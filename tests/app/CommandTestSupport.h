#pragma once
// What the command tests share: a host set up as the program sets up its own, quiet, and a
// temporary folder of the test's own, made empty before and removed after.

#include "app/HostSetup.h"
#include "host/Interface.h"
#include "standalone/StandaloneCore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace command_test {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("vermil_") + test->test_suite_name() + "_" + test->name();
        for (char& c : name)
            c = c == '/' ? '_' : c;
        dir = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        core.setQuietMode(true);
        app::setUpHost(core);
    }
    void TearDown() override
    {
        SetCOREInterface(nullptr);
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    standalone::StandaloneCore core;
};

}  // namespace command_test
