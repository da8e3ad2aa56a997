// The booklet command: its dialog, the print dialog, then the pages with a progress window.
#include "mainwin/frmmain.h"

#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "booklet/booklet.h"
#include "booklet/photoreader.h"
#include "mainwin/frmlivret.h"
#include "platform/platform.h"
#include "store/module1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

namespace gratinel {

namespace {

// The progress bar with its « Annuler » button, shown when the work lasts.
class ProgressWindow : public BookletProgress {
public:
    ProgressWindow(PagedJob &job, QWidget *owner) : job_(job), dialog_(owner)
    {
        dialog_.setObjectName(QStringLiteral("frmLivretProgression"));
        dialog_.setWindowTitle(QStringLiteral("Imprimer un livret"));
        dialog_.setLabelText(QStringLiteral("Mise en pages du livret..."));
        dialog_.setCancelButtonText(QStringLiteral("Annuler"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        clock_.start();
    }

    bool advance(int done, int total) override
    {
        // A few times a second is enough for the bar and for « Annuler ».
        if (done < total && clock_.elapsed() < 100)
            return !dialog_.wasCanceled();
        clock_.restart();
        if (dialog_.maximum() != total)
            dialog_.setMaximum(total);
        if (done * 2 >= total)
            dialog_.setLabelText(QStringLiteral("Impression du livret..."));
        dialog_.setValue(done);
        QApplication::processEvents();
        return !dialog_.wasCanceled();
    }

    void abandon() override { job_.abandon(); }

private:
    PagedJob &job_;
    QProgressDialog dialog_;
    QElapsedTimer clock_;
};

QString leftOutList(const std::vector<LeftOutPhoto> &photos)
{
    constexpr size_t kShown = 12;
    QStringList lines;
    for (size_t i = 0; i < photos.size() && i < kShown; ++i)
        lines << QStringLiteral("« %1 » (%2) : %3").arg(photos[i].title, photos[i].family, photos[i].path);
    if (photos.size() > kShown)
        lines << QStringLiteral("et %1 autre(s).").arg(photos.size() - kShown);
    return lines.join(u'\n');
}

} // namespace

void frmMain::mnuFilePrintLivret_Click()
{
    if (!recettes_)
        return;
    Platform &platform = m_.windows();
    frmLivret dialog(recettes_->ComboFamilles->selectedText(), recettes_->ComboRecettes->count() > 0, this);
    if (execOwnWindow(dialog) != QDialog::Accepted || m_.platform.programEnded())
        return;

    BookletOptions options;
    if (!dialog.wholeBook())
        options.families.push_back(recettes_->ComboFamilles->selectedRecord());
    options.photos = dialog.photos();
    options.a5 = dialog.a5();
    options.twoSided = dialog.twoSided();
    options.date = platform.today();

    platform.setPointer(Platform::Pointer::Hourglass);
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"}) {
        if (!m_.CheckDataFile(QString::fromLatin1(name)))
            return;
    }
    BookletSource source(m_.familyFile, m_.recipeFile, m_.textFile, m_.imageFile, m_.programDir);
    Booklet booklet(source);
    Status s = booklet.load(options);
    platform.setPointer(Platform::Pointer::Normal);
    if (!s.isOk()) {
        m_.fatalError = -1;
        m_.ShowFatalError();
        return;
    }
    if (booklet.recipeCount() == 0) {
        platform.msgBox(QStringLiteral("Il n'y a aucune recette à imprimer."), Platform::Icon::Information);
        return;
    }
    const std::unique_ptr<PagedJob> job = platform.startPagedJob(booklet.title(), Booklet::pageLayout(options.a5));
    if (!job)
        return;
    booklet.setTwoSided(options.twoSided || job->twoSided());

    platform.setPointer(Platform::Pointer::Hourglass);
    BookletResult result;
    {
        // Pictures that Qt's readers do not take (metafiles) are drawn as the image window draws them.
        PhotoReader photos([&platform](const QString &path) { return platform.loadImage(path); });
        ProgressWindow progress(*job, this);
        result = booklet.write(job->device(), photos, &progress);
    }
    const bool printed = result.written() && job->finish();
    platform.setPointer(Platform::Pointer::Normal);
    if (!result.status.isOk()) {
        m_.fatalError = -1;
        m_.ShowFatalError();
        return;
    }
    if (result.stopped)
        return;
    if (!printed) {
        platform.beep();
        platform.msgBox(QStringLiteral("Erreur imprimante"), Platform::Icon::Critical);
        return;
    }
    if (!result.leftOut.empty())
        platform.msgBox(QStringLiteral("Le livret est imprimé, sans ces photos, qui ne s'ouvrent pas :\n") + leftOutList(result.leftOut),
                        Platform::Icon::Information);
}

} // namespace gratinel
