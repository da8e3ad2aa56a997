// Qt implementation of the platform services.
#include "platform/qtplatform.h"

#include "platform/apptitle.h"
#include "platform/desktopopen.h"
#include "platform/helpwindow.h"
#include "platform/imagefile.h"
#include "platform/qtpagedjob.h"
#include "platform/qtprinter.h"
#include "platform/screenfit.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QRegularExpression>

namespace gratinel {

namespace {

// The lines of a message as the box shows them: a file path too long for the screen (a line
// with a folder separator, wider than width) keeps its beginning and its file name, with an
// ellipsis between, so that the box and its buttons stay on the screen.
QString fittedLines(const QString &text, const QFontMetrics &metrics, int width)
{
    static const QRegularExpression separator(QStringLiteral("[/\\\\]"));
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.contains(separator) && metrics.horizontalAdvance(line) > width)
            line = metrics.elidedText(line, Qt::ElideMiddle, width);
    }
    return lines.join(u'\n');
}

} // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform()
{
    delete help_.data();
}

QWidget *QtPlatform::owner() const
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

Platform::Answer QtPlatform::msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer)
{
    QMessageBox box(owner());
    box.setWindowTitle(appTitle());
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Room for the text beside the icon, within the box's own limit of half the screen.
    const int width = qMin(clientRoom(&box).width() - 120, workArea(&box).width() / 2);
    box.setText(fittedLines(shown, QFontMetrics(box.font()), qMax(width, 120)));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (buttons == Buttons::YesNo)
        return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

void QtPlatform::beep()
{
    QApplication::beep();
}

void QtPlatform::setPointer(Pointer pointer)
{
    const bool wanted = pointer == Pointer::Hourglass;
    if (wanted == hourglass_)
        return;
    hourglass_ = wanted;
    if (wanted) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
}

std::optional<QString> QtPlatform::openFileName(const OpenFileRequest &request)
{
    QStringList filters;
    for (const QString &pair : request.filters) {
        const QString description = pair.section(u'|', 0, 0);
        const QString pattern = pair.section(u'|', 1, 1);
        filters << QStringLiteral("%1 (%2)").arg(description, QString(pattern).replace(u';', u' '));
    }
    QFileDialog dialog(owner(), request.title, request.directory);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, true);
    // Qt's own dialog: in French whatever the desktop's language, and a window of the
    // program, so the recipe book keeps its activation while it is open.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

int QtPlatform::shellOpen(const QString &target, const QString &workingDir)
{
    return desktopOpen(target, workingDir);
}

QString QtPlatform::helpContents(const QString &helpFile)
{
    if (!help_)
        help_ = new HelpWindow();
    help_->showContents(helpFile);
    return {};
}

void QtPlatform::helpQuit(const QString &helpFile)
{
    Q_UNUSED(helpFile);
    if (help_)
        help_->close();
}

Printer *QtPlatform::startPrintJob()
{
    printer_ = std::make_unique<QtPrinter>();
    return printer_.get();
}

std::unique_ptr<PagedJob> QtPlatform::startPagedJob(const QString &title, const QPageLayout &layout)
{
    return QtPagedJob::start(title, layout, owner());
}

QString QtPlatform::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void QtPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

bool QtPlatform::anotherInstanceRunning()
{
    return !lock_.tryLock(QCoreApplication::applicationDirPath());
}

QString QtPlatform::executableDir()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QDate QtPlatform::today()
{
    return QDate::currentDate();
}

QDateTime QtPlatform::now()
{
    return QDateTime::currentDateTime();
}

QImage QtPlatform::loadImage(const QString &path)
{
    return loadImageFile(path);
}

void QtPlatform::endProgram()
{
    ended_ = true;
    setPointer(Pointer::Normal);
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->hide();
    QCoreApplication::exit(1);
}

} // namespace gratinel
