#include "QrvRecoveryOffer.h"

#include "QrvAppTexts.h"
#include "QrvDialogs.h"
#include "QrvDocumentSession.h"
#include "QrvDocumentText.h"
#include "QrvMessageTable.h"
#include "QrvRecoveryFile.h"

#include <QFileInfo>

#include <unistd.h>

namespace qrv
{

bool OfferRecovery(TDocumentSession& session, const std::string& folder)
{
    const std::vector<std::string> copies = OrphanedRecoveryFiles(folder);
    if (copies.empty()) return false;
    bool restored = false;
    try {
        TRecoveredDocument recovered = ReadRecoveryFile(copies.front());
        const std::string name =
            recovered.FileName.empty()
                ? std::string(Text::UntitledDocument)
                : QFileInfo(QString::fromStdString(recovered.FileName)).fileName().toStdString();
        const std::string question = FormatPattern(Text::RecoveryQuestion, {name});
        if (MessageDlg(question, TMsgDlgType::mtConfirmation, mbYesNo) == TModalResult::mrYes) {
            session.RestoreDocument(std::move(recovered));
            restored = true;
        }
    } catch (const EQrvDocumentError&) {
        // A copy that cannot be read (cut short by a full disk, say) has
        // nothing to offer.
    }
    for (const std::string& copy : copies)
        ::unlink(copy.c_str());
    return restored;
}

std::unique_ptr<TRecoveryKeeper> KeepRecovery(TDocumentSession& session, const std::string& folder)
{
    return std::make_unique<TRecoveryKeeper>(session.Editor(), RecoveryFileName(folder, long(::getpid())),
                                             3000, [&session] { return session.AsksBeforeClosing(); });
}

} // namespace qrv
