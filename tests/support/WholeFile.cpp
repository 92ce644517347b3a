#include "WholeFile.h"

#include <fstream>
#include <iterator>

namespace qrv::test
{

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace qrv::test
