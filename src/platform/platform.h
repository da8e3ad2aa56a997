// Every service the program's windows ask of the system, behind one interface: the real one
// runs on Qt Widgets, the tests use a scripted one.
#pragma once

#include "platform/system.h"

#include <QImage>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace gratinel {

// The printer as the recipe printout uses it; positions and sizes in twips.
// Each operation returns false when the printer refused it.
class Printer {
public:
    virtual ~Printer() = default;
    virtual bool setFontSize(int points) = 0;
    virtual int currentX() const = 0;
    virtual bool setCurrentX(int twips) = 0;
    virtual int currentY() const = 0;
    virtual bool textWidth(const QString &text, int &twips) = 0;
    // Height of a line of text in the current font.
    virtual bool textHeight(const QString &text, int &twips) = 0;
    virtual int printableWidth() const = 0;
    virtual int printableHeight() const = 0;
    virtual bool print(const QString &text) = 0; // without ending the line
    virtual bool endLine() = 0;
    virtual bool newPage() = 0;
    virtual bool endDoc() = 0;
};

// A document of whole pages (the printed booklet): the printer that the print dialog chose,
// or the PDF file it names.
class PagedJob {
public:
    virtual ~PagedJob() = default;
    // Set to the paper asked for, its origin at the paper's corner.
    virtual QPagedPaintDevice &device() = 0;
    // Whether the dialog asked for both sides of the paper.
    virtual bool twoSided() const = 0;
    // Called while the device is still painted, when the work stops before its end: the
    // document is then neither printed nor kept.
    virtual void abandon() = 0;
    // After the painting ended: whether the document was printed, or its file written, whole.
    virtual bool finish() = 0;
};

class Platform : public System {
public:
    struct OpenFileRequest {
        QString title;
        // Pairs of description and pattern, as "Images GIF|*.GIF".
        QStringList filters;
        int filterIndex = 1;
        QString fileName;
        QString directory;
    };

    // Result code of a shell open when no program is associated with the type.
    static constexpr int kNoAssociation = 31;

    // The file-open dialog; no value when the user cancels.
    virtual std::optional<QString> openFileName(const OpenFileRequest &request) = 0;
    // Opens a file or web address with the program the system associates with it;
    // returns a code above 32 on success, kNoAssociation when nothing is associated.
    virtual int shellOpen(const QString &target, const QString &workingDir) = 0;
    // Opens the help file at its contents; an empty text, or the description of the error.
    virtual QString helpContents(const QString &helpFile) = 0;
    // Closes the help window of this program, if one is open.
    virtual void helpQuit(const QString &helpFile) = 0;
    // The default printer, ready for one document.
    virtual Printer *startPrintJob() = 0;
    // The standard print dialog (printing to a PDF file included) for a document named
    // title on that paper; no job when the user cancels it.
    virtual std::unique_ptr<PagedJob> startPagedJob(const QString &title, const QPageLayout &layout) = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    // The image in a file; a null image when the file is missing or cannot be read.
    virtual QImage loadImage(const QString &path) = 0;
};

} // namespace gratinel
