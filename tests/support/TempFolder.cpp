#include "TempFolder.h"

#include <cctype>
#include <cstdlib>
#include <iterator>
#include <system_error>

namespace qrv::test
{

namespace fs = std::filesystem;

void TTempFolderFixture::SetUp()
{
    std::string suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    for (char& c : suite)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    std::string pattern = (fs::temp_directory_path() / ("qurvia-" + suite + "-XXXXXX")).string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a folder like " << pattern;
    Dir = pattern;
}

void TTempFolderFixture::TearDown()
{
    if (Dir.empty()) return;
    std::error_code ignored;
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(Dir, ignored);
}

std::size_t TTempFolderFixture::Entries() const
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
}

} // namespace qrv::test
