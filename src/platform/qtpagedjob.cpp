// The print dialog for a booklet, then its printer or its PDF file.
#include "platform/qtpagedjob.h"

#include <QPrintDialog>

namespace gratinel {

std::unique_ptr<QtPagedJob> QtPagedJob::start(const QString &title, const QPageLayout &layout, QWidget *owner)
{
    std::unique_ptr<QtPagedJob> job(new QtPagedJob);
    QPrinter &p = job->printer_;
    p.setDocName(title);
    p.setPageLayout(layout);
    p.setFullPage(true);
    QPrintDialog dialog(&p, owner);
    dialog.setWindowTitle(QStringLiteral("Imprimer un livret"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    // The pages are laid out for the paper asked for, whatever the dialog shows.
    p.setFullPage(true);
    p.setPageLayout(layout);
    if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty()) {
        job->file_ = std::make_unique<QSaveFile>(p.outputFileName());
        if (!job->file_->open(QIODevice::WriteOnly)) {
            job->abandoned_ = true;
            job->file_.reset();
        }
        job->pdf_ = job->file_ ? std::make_unique<QPdfWriter>(job->file_.get()) : std::make_unique<QPdfWriter>(QString());
        job->pdf_->setTitle(title);
        job->pdf_->setCreator(QStringLiteral("Gratinel \"Free\""));
        job->pdf_->setPageLayout(layout);
    }
    return job;
}

QPagedPaintDevice &QtPagedJob::device()
{
    if (pdf_)
        return *pdf_;
    return printer_;
}

bool QtPagedJob::twoSided() const
{
    return printer_.duplex() != QPrinter::DuplexNone;
}

void QtPagedJob::abandon()
{
    abandoned_ = true;
    if (file_)
        file_->cancelWriting();
    else
        printer_.abort();
}

bool QtPagedJob::finish()
{
    if (abandoned_)
        return false;
    if (file_)
        return file_->commit();
    return printer_.printerState() != QPrinter::Error && printer_.printerState() != QPrinter::Aborted;
}

} // namespace gratinel
