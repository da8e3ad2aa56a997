// A document of pages on the printer chosen in Qt's print dialog, or in the PDF file it names.
#pragma once

#include "platform/platform.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <memory>

class QWidget;

namespace gratinel {

class QtPagedJob : public PagedJob {
public:
    // Shows the print dialog over owner; no job when it is cancelled.
    static std::unique_ptr<QtPagedJob> start(const QString &title, const QPageLayout &layout, QWidget *owner);

    QPagedPaintDevice &device() override;
    bool twoSided() const override;
    void abandon() override;
    bool finish() override;

private:
    QtPagedJob() = default;

    QPrinter printer_{QPrinter::HighResolution};
    // A PDF file is written beside its place and put there whole: a stopped or failed
    // booklet leaves nothing, and an older file of that name stays as it was.
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> pdf_;
    bool abandoned_ = false;
};

} // namespace gratinel
