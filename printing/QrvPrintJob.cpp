#include "QrvPrintJob.h"

namespace qrv
{

TPrintJob::TPrintJob(TPrinter& printer, const QString& title) : printer_(printer)
{
    printer_.SetTitle(title);
    printer_.BeginDoc();
}

TPrintJob::~TPrintJob()
{
    if (!ended_) printer_.Abort();
}

void TPrintJob::End()
{
    ended_ = true;
    printer_.EndDoc();
}

} // namespace qrv
