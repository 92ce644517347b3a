// Temporary settings files for the settings tests.
#pragma once

#include "QrvSettingsFile.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace qrv::test
{

// A temporary directory with a settings file path in it; the program-wide
// handle is closed (without writing) when the object goes.
class TTempSettings
{
public:
    TTempSettings() : path_(dir_.filePath(QStringLiteral("QURVIA.INI"))) {}
    ~TTempSettings() { DropHandle(); }

    const QString& Path() const { return path_; }
    QString Dir() const { return dir_.path(); }

    void WriteFile(const std::string& content) const { WriteFile(path_, content); }
    static void WriteFile(const QString& path, const std::string& content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content.data(), qint64(content.size()));
    }

    bool Exists() const { return QFile::exists(path_); }
    // The file's content, or "<missing>" where there is none.
    std::string ReadFile() const { return Exists() ? ReadWholeFile(path_).toStdString() : "<missing>"; }

    void Open() const { OpenSettingsFile(path_); }
    // Releases the handle without writing anything.
    static void DropHandle() { OpenSettingsFile(QString()); }

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace qrv::test
