// The settings file: where it lives, the one handle the program holds on it
// from start to end, and the raw string access with the private-profile
// semantics (TIniDocument).
//
// Reads see the file as it was when the handle was created, plus the
// program's own writes. Writes are kept in memory and reach the disk only
// when the handle is closed at program end: the file on disk is read again,
// the writes are applied to it in their order (so keys that another program
// added meanwhile survive), and the result replaces the file through a
// temporary file and a rename. A crash at any moment leaves either the old
// or the new file, never a half-written one.
#pragma once

#include "QrvIniDocument.h"

#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

class TSettingsFile
{
public:
    // Reads the file. A missing, unreadable or oversized file reads as empty:
    // every read gives its default. Never throws.
    explicit TSettingsFile(QString fileName);

    const QString& FileName() const { return fileName_; }

    // The stored value, or the default with its trailing blanks removed; at
    // most kMaxValueLength bytes (never a split UTF-8 character).
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Stores the value for the next Flush. Returns false for a name that
    // cannot be stored (empty, or with a line break).
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    bool HasPendingWrites() const { return !pending_.empty(); }

    // Writes the pending values to the disk (see above); does nothing when
    // there are none or the file already holds them. Raises ESettingsError
    // "Unable to write to <file>" when the file cannot be read back or
    // written; the pending values stay then, so a retry is possible.
    void Flush();

    static constexpr std::size_t kMaxValueLength = 2047;
    // Larger files are not settings files; they are neither read nor replaced.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

private:
    struct TWrite {
        std::string section, key, value;
    };

    QString fileName_;
    TIniDocument document_;
    std::vector<TWrite> pending_;
};

// "QURVIA.INI" for a program file named "qurvia" (or "qurvia.exe"): the file
// name upper-cased, a ".EXE" ending dropped, ".INI" appended.
QString SettingsFileNameFor(const QString& programFileName);

// The settings file for a program: beside the program file when that
// directory can be written (or the file there exists and can be written),
// otherwise the same name in configDir. isWritable tells whether a path
// can be written; it is a parameter so the choice is testable.
QString LocateSettingsFile(const QString& programFilePath, const QString& configDir,
                           const std::function<bool(const QString&)>& isWritable);

// Overrides the located file (the "--settings FILE" option); an empty path
// restores the located one. Takes effect at the next OpenSettingsFile.
void SetSettingsFilePath(const QString& path);

// The file OpenSettingsFile opens: the override, else the located file for
// the running program (empty when there is no application object).
QString SettingsFilePath();

// Creates the program's handle on the settings file (program start, before
// any setting variable). Never throws; without a usable path the program
// runs without a handle: reads give defaults and writes do nothing.
void OpenSettingsFile();
void OpenSettingsFile(const QString& path);

// Writes the pending values and releases the handle (program end, after the
// last setting variable has saved itself). The handle is released even when
// the write fails; the failure is then raised as ESettingsError.
void CloseSettingsFile();

// The current handle, or nullptr.
TSettingsFile* SettingsFile();

// Opens the handle for its lifetime. Close() reports a failed write; the
// destructor closes too but cannot report, so it swallows the error.
class TSettingsFileSession
{
public:
    TSettingsFileSession() { OpenSettingsFile(); }
    explicit TSettingsFileSession(const QString& path) { OpenSettingsFile(path); }
    ~TSettingsFileSession();
    TSettingsFileSession(const TSettingsFileSession&) = delete;
    TSettingsFileSession& operator=(const TSettingsFileSession&) = delete;
    void Close() { CloseSettingsFile(); }
};

} // namespace qrv
