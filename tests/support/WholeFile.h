// A whole file read back byte for byte, for tests that check what was
// written. A file that cannot be read gives an empty content: a test that
// must tell a missing file from an empty one checks that it exists.
#pragma once

#include <filesystem>
#include <string>

#ifdef QT_CORE_LIB
#include <QByteArray>
#include <QFile>
#include <QString>
#endif

namespace qrv::test
{

std::string ReadWholeFile(const std::filesystem::path& path);

#ifdef QT_CORE_LIB
// The same for a file named as Qt names files.
inline QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
#endif

} // namespace qrv::test
