#include "QrvSettingsFile.h"

#include "QrvFileWriter.h"
#include "QrvSettingsText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>
#include <optional>

namespace qrv
{

namespace
{

// The whole file, or nothing when it cannot be read or is too large.
std::optional<std::string> ReadWholeFile(const QString& fileName)
{
    // A pipe or a device is no settings file: opening it could wait forever.
    if (!QFileInfo(fileName).isFile()) return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > TSettingsFile::kMaxFileSize) return std::nullopt;
    QByteArray bytes = file.read(TSettingsFile::kMaxFileSize + 1);
    if (bytes.size() > TSettingsFile::kMaxFileSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes.toStdString();
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
        throw ESettingsError(
            FormatText(SetText::UnableToWrite, {QFile::encodeName(fileName_).toStdString()}));
    };

    // A file that exists but cannot be read is not replaced: what it holds
    // would be lost.
    QFileInfo info(fileName_);
    std::string current;
    if (info.exists()) {
        auto text = ReadWholeFile(fileName_);
        if (!text) fail();
        current = std::move(*text);
    }
    TIniDocument document(current);
    for (const auto& write : pending_)
        document.Write(write.section, write.key, write.value);
    std::string text = document.Text();

    if (!info.exists() || text != current) {
        if (!QDir().mkpath(info.absolutePath())) fail();
        try {
            WriteWholeFile(QFile::encodeName(fileName_).toStdString(), text);
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
