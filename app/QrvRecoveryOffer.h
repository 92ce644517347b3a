// The window's side of the recovery file (document/QrvRecoveryFile.h): at
// start-up the document that a program left unsaved when it ended without
// closing (a crash, a kill) is offered back, and from then on this
// program's own document is kept. Only documents whose closing would ask
// first are kept: an unnamed single curve, as the program always was, is
// not.
#pragma once

#include <memory>
#include <string>

namespace qrv
{

class TDocumentSession;
class TRecoveryKeeper;

// Offers the newest copy in `folder` left by a program that no longer runs
// (a confirmation through the platform's dialogs) and restores it when the
// user agrees; every such copy goes either way, so none is offered twice.
// Returns whether a document was restored.
bool OfferRecovery(TDocumentSession& session, const std::string& folder);

// The keeper of this program's copy in `folder`, for as long as the window.
std::unique_ptr<TRecoveryKeeper> KeepRecovery(TDocumentSession& session, const std::string& folder);

} // namespace qrv
