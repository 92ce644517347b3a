// A folder of its own for every test: made empty under the system's
// temporary folder before the test, removed with everything in it after the
// test, also when the test took its write right away. The folder's name
// starts with the test suite's name, so one left behind by a crash says
// whose it was.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace qrv::test
{

class TTempFolderFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The path of a name in the folder.
    std::string At(const std::string& name) const { return (Dir / name).string(); }
    // What the folder holds, hidden entries included.
    std::size_t Entries() const;

    std::filesystem::path Dir;
};

} // namespace qrv::test
