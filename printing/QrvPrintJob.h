// One print job on a printer, begun on construction. Unless End() has been
// called, the destructor aborts the job, so an exception while drawing never
// leaves a job open or a half-written PDF file behind.
//
//   TPrintJob job(Printer(), "Report");
//   draw on job.Canvas(); job.NewPage(); ...; job.End();
#pragma once

#include "QrvPrinter.h"

#include <QRect>

namespace qrv
{

class TPrintJob
{
public:
    TPrintJob(TPrinter& printer, const QString& title);
    ~TPrintJob();
    TPrintJob(const TPrintJob&) = delete;
    TPrintJob& operator=(const TPrintJob&) = delete;

    QPainter& Canvas() { return printer_.Canvas(); }
    // The whole sheet in device pixels.
    QRect PageRect() const { return QRect(0, 0, printer_.PageWidth(), printer_.PageHeight()); }
    int PageNumber() const { return printer_.PageNumber(); }
    void NewPage() { printer_.NewPage(); }
    // Hands the job to the printer.
    void End();

private:
    TPrinter& printer_;
    bool ended_ = false;
};

} // namespace qrv
