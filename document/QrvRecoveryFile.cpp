#include "QrvRecoveryFile.h"

#include "QrvDocumentEditor.h"
#include "QrvDocumentFile.h"
#include "QrvFileWriter.h"
#include "QrvJsonText.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace qrv
{

namespace
{

// The member of the recovery file that names the document's own file: the
// rest of the file is an ordinary document, read by the document reader.
constexpr const char* kRecoveryOf = "recovery-of";
const QString kPrefix = QStringLiteral("recovery-");
const QString kSuffix = QString::fromLatin1(kDocumentExtension.data(), qsizetype(kDocumentExtension.size()));

// The process number a recovery file's name carries; nothing for a name of
// another form.
std::optional<long> PidOf(const QString& name)
{
    if (!name.startsWith(kPrefix) || !name.endsWith(kSuffix)) return std::nullopt;
    const QString digits = name.mid(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    bool ok = false;
    const long pid = digits.toLong(&ok);
    if (!ok || pid <= 0 || digits != QString::number(pid)) return std::nullopt;
    return pid;
}

// Whether a process of that number runs (one that exists but is not ours
// to signal runs too).
bool Runs(long pid)
{
    if (pid > 0x7fffffffL) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::string RecoveryFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return std::string(state) + "/qurvia";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/state/qurvia";
}

std::string RecoveryFileName(const std::string& folder, long pid)
{
    return folder + "/" + (kPrefix + QString::number(pid) + kSuffix).toStdString();
}

std::vector<std::string> OrphanedRecoveryFiles(const std::string& folder)
{
    const QDir dir(QString::fromStdString(folder));
    std::vector<std::string> files;
    for (const QFileInfo& info :
         dir.entryInfoList({kPrefix + "*" + kSuffix}, QDir::Files | QDir::Readable, QDir::Time)) {
        const std::optional<long> pid = PidOf(info.fileName());
        if (pid && !Runs(*pid)) files.push_back(info.filePath().toStdString());
    }
    return files;
}

std::string RecoveryJson(const TDocument& document, const std::string& fileName)
{
    TDocument copy = document;
    std::string name;
    AppendJsonString(name, fileName);
    copy.Unknown.insert(copy.Unknown.begin(), {kRecoveryOf, std::move(name)});
    return DocumentJson(copy);
}

TRecoveredDocument ReadRecoveryFile(const std::string& fileName)
{
    TRecoveredDocument recovered{LoadDocument(fileName), {}};
    auto& unknown = recovered.Document.Unknown;
    const auto of = std::find_if(unknown.begin(), unknown.end(),
                                 [](const TJsonMember& member) { return member.Key == kRecoveryOf; });
    if (of != unknown.end()) {
        // The member's text is a JSON string: read it as the array it is
        // the one element of.
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString("[" + of->Json + "]"));
        recovered.FileName = json.array().at(0).toString().toStdString();
        unknown.erase(of);
    }
    return recovered;
}

TRecoveryKeeper::TRecoveryKeeper(TDocumentEditor& editor, std::string fileName, int delayMs, QObject* parent)
    : QObject(parent), editor_(editor), fileName_(std::move(fileName))
{
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    connect(&timer_, &QTimer::timeout, this, &TRecoveryKeeper::WriteNow);
    for (auto signal :
         {&TDocumentEditor::CurveInserted, &TDocumentEditor::CurveRemoved, &TDocumentEditor::CurveChanged})
        connect(&editor_, signal, this, &TRecoveryKeeper::Changed);
    connect(&editor_, &TDocumentEditor::CurveMoved, this, &TRecoveryKeeper::Changed);
    connect(&editor_, &TDocumentEditor::AngleChanged, this, &TRecoveryKeeper::Changed);
    connect(&editor_, &TDocumentEditor::DocumentReset, this, &TRecoveryKeeper::Changed);
    connect(&editor_, &TDocumentEditor::CleanChanged, this, &TRecoveryKeeper::Changed);
    connect(&editor_, &TDocumentEditor::FileNameChanged, this, &TRecoveryKeeper::Changed);
}

TRecoveryKeeper::~TRecoveryKeeper()
{
    Remove();
}

void TRecoveryKeeper::Changed()
{
    if (editor_.IsClean()) {
        timer_.stop();
        Remove();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

void TRecoveryKeeper::WriteNow()
{
    timer_.stop();
    if (editor_.IsClean()) {
        Remove();
        return;
    }
    try {
        QDir().mkpath(QFileInfo(QString::fromStdString(fileName_)).path());
        WriteWholeFile(fileName_, RecoveryJson(editor_.Document(), editor_.FileName()));
    } catch (const EFileWrite&) {
        // A full disk or a read-only state folder: the next change tries again.
    }
}

void TRecoveryKeeper::Remove()
{
    ::unlink(fileName_.c_str());
}

} // namespace qrv
