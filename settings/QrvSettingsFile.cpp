#include "QrvSettingsFile.h"

#include "QrvFileNames.h"
#include "QrvFileWriter.h"
#include "QrvSettingsText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace qrv
{

namespace
{

// The whole file, or nothing when it cannot be read or is too large. The
// name's bytes are used as they are.
std::optional<std::string> ReadWholeFile(const QString& fileName)
{
    const std::string path = FileNameBytes(fileName);
    // A pipe or a device is no settings file: opening it could wait forever.
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (info.st_size > TSettingsFile::kMaxFileSize) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(TSettingsFile::kMaxFileSize + 1), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > static_cast<std::size_t>(TSettingsFile::kMaxFileSize)) return std::nullopt;
    return bytes;
}

bool Exists(const QString& fileName)
{
    struct stat info;
    return stat(FileNameBytes(fileName).c_str(), &info) == 0;
}

// Cuts a text to at most maxBytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) return text;
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

std::unique_ptr<TSettingsFile>& Handle()
{
    static std::unique_ptr<TSettingsFile> handle;
    return handle;
}

QString& OverridePath()
{
    static QString path;
    return path;
}

} // namespace

TSettingsFile::TSettingsFile(QString fileName) : fileName_(std::move(fileName))
{
    if (auto text = ReadWholeFile(fileName_)) document_ = TIniDocument(*text);
}

std::string TSettingsFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const
{
    if (auto value = document_.Read(section, key)) return CutUtf8(std::move(*value), kMaxValueLength);
    auto end = defaultValue.find_last_not_of(' ');
    return CutUtf8(std::string(defaultValue.substr(0, end == std::string_view::npos ? 0 : end + 1)),
                   kMaxValueLength);
}

bool TSettingsFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    if (!document_.Write(section, key, value)) return false;
    pending_.push_back({std::string(section), std::string(key), std::string(value)});
    return true;
}

void TSettingsFile::Flush()
{
    if (pending_.empty()) return;
    auto fail = [this] {
        throw ESettingsError(FormatText(SetText::UnableToWrite, {FileNameBytes(fileName_)}));
    };

    // A file that exists but cannot be read is not replaced: what it holds
    // would be lost.
    const bool exists = Exists(fileName_);
    std::string current;
    if (exists) {
        auto text = ReadWholeFile(fileName_);
        if (!text) fail();
        current = std::move(*text);
    }
    TIniDocument document(current);
    for (const auto& write : pending_)
        document.Write(write.section, write.key, write.value);
    std::string text = document.Text();

    if (!exists || text != current) {
        const std::string path = FileNameBytes(fileName_);
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
            std::filesystem::create_directories(folder, error);
            if (error) fail();
        }
        try {
            WriteWholeFile(path, text);
        } catch (const EFileWrite&) {
            fail();
        }
    }
    document_ = std::move(document);
    pending_.clear();
}

QString SettingsFileNameFor(const QString& programFileName)
{
    QString name = programFileName.toUpper();
    if (name.endsWith(QLatin1String(".EXE"))) name.chop(4);
    return name + QLatin1String(".INI");
}

QString LocateSettingsFile(const QString& programFilePath, const QString& configDir,
                           const std::function<bool(const QString&)>& isWritable)
{
    QFileInfo program(programFilePath);
    QString name = SettingsFileNameFor(program.fileName());
    QString besideProgram = QDir(program.absolutePath()).filePath(name);
    bool usable =
        QFileInfo::exists(besideProgram) ? isWritable(besideProgram) : isWritable(program.absolutePath());
    if (usable || configDir.isEmpty()) return besideProgram;
    return QDir(configDir).filePath(name);
}

void SetSettingsFilePath(const QString& path)
{
    OverridePath() = path;
}

QString SettingsFilePath()
{
    if (!OverridePath().isEmpty()) return OverridePath();
    if (!QCoreApplication::instance()) return {};
    return LocateSettingsFile(QCoreApplication::applicationFilePath(),
                              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                              [](const QString& path) { return QFileInfo(path).isWritable(); });
}

void OpenSettingsFile()
{
    OpenSettingsFile(SettingsFilePath());
}

void OpenSettingsFile(const QString& path)
{
    try {
        Handle().reset(path.isEmpty() ? nullptr : new TSettingsFile(path));
    } catch (...) {
        Handle().reset();
    }
}

void CloseSettingsFile()
{
    std::unique_ptr<TSettingsFile> handle = std::move(Handle());
    if (handle) handle->Flush();
}

TSettingsFile* SettingsFile()
{
    return Handle().get();
}

TSettingsFileSession::~TSettingsFileSession()
{
    try {
        CloseSettingsFile();
    } catch (...) {
        // Nothing can report it at this point; Close() is the reporting way.
    }
}

} // namespace qrv
