// Every service the program asks of the system, behind one interface: the real one runs on Qt,
// the tests use a scripted one.
#pragma once

#include <QDate>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

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

class Platform {
public:
    enum class Icon { None, Information, Warning, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };
    enum class Pointer { Normal, Hourglass };

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

    virtual ~Platform() = default;

    // A modal message box with the application title as caption.
    virtual Answer msgBox(const QString &text, Icon icon, Buttons buttons = Buttons::Ok,
                          Answer defaultAnswer = Answer::Ok) = 0;
    virtual void beep() = 0;
    // The screen's mouse pointer; a state, not a stack.
    virtual void setPointer(Pointer pointer) = 0;
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
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    // True when another instance already has this program's book; otherwise this
    // instance now holds it until it ends.
    virtual bool anotherInstanceRunning() = 0;
    // The directory that holds the program's executable.
    virtual QString executableDir() = 0;
    virtual QDate today() = 0;
    // The image in a file; a null image when the file is missing or cannot be read.
    virtual QImage loadImage(const QString &path) = 0;
    // Ends the program. The caller still returns normally and must do nothing more.
    virtual void endProgram() = 0;
    virtual bool programEnded() const = 0;
};

} // namespace gratinel
