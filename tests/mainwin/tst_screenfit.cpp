// Every window of the program inside the screen, whatever its size and font resolution, with
// no control cut or covered by another. Each screen runs in a child process of its own.
#include "testpaths.h"
#include "bookfixture.h"
#include "testbook.h"
#include "book/frmrecettes.h"
#include "book/tabstrip.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmmain.h"
#include "platform/helpwindow.h"
#include "platform/qtplatform.h"
#include "search/frmrechercher.h"
#include "store/module1.h"
#include "viewer/frmimage.h"

#include <QtTest>
#include <QtWidgets>

using namespace gratinel;

namespace {

bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QLabel *>(w) || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTabBar *>(w);
}

// Where a control shows something, on the screen: a label only where its text is, and
// only what its holders do not clip.
QRect shown(const QWidget *w)
{
    const auto *label = qobject_cast<const QLabel *>(w);
    QRect r = label ? QStyle::alignedRect(Qt::LeftToRight, label->alignment(), label->sizeHint().boundedTo(w->size()), w->rect()) : w->rect();
    r.translate(w->mapToGlobal(QPoint(0, 0)));
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        r &= p->rect().translated(p->mapToGlobal(QPoint(0, 0)));
    return r;
}

// Whether each holder of c shows it whole, or a scroll area holding it scrolls far enough.
bool reachable(const QWidget *c, const QWidget *window)
{
    for (const QWidget *w = c; w != window; w = w->parentWidget()) {
        const QWidget *holder = w->parentWidget();
        const auto *area = qobject_cast<const QAbstractScrollArea *>(holder->parentWidget());
        const QSize over = w->size() - holder->size();
        if (area && holder == area->viewport() ? area->horizontalScrollBar()->maximum() < over.width() || area->verticalScrollBar()->maximum() < over.height()
                                               : !holder->rect().contains(w->geometry()))
            return false;
    }
    return true;
}

// The window outside the screen, its controls cut or over one another.
QStringList faults(QWidget *window, const QString &what)
{
    QApplication::processEvents();
    QStringList out;
    if (!window->screen()->availableGeometry().contains(window->frameGeometry()))
        out << what + QStringLiteral(" : hors de l'écran");
    QList<QWidget *> controls;
    for (QWidget *c : window->findChildren<QWidget *>()) {
        bool held = false;
        for (QWidget *p = c->parentWidget(); p != window; p = p->parentWidget())
            held = held || isControl(p);
        if (isControl(c) && !held && c->isVisible())
            controls << c;
    }
    for (int i = 0; i < controls.size(); ++i) {
        if (!reachable(controls[i], window))
            out << what + QStringLiteral(" : %1 coupé").arg(controls[i]->objectName());
        for (int j = 0; j < i; ++j) {
            if (shown(controls[i]).intersects(shown(controls[j])))
                out << what + QStringLiteral(" : %1 sur %2").arg(controls[i]->objectName(), controls[j]->objectName());
        }
    }
    return out;
}

// Opens every window, the image viewer on an image twice the screen's size, and prints each
// fault found, then the number of windows looked at.
int childMain(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("grand.png"));
    QImage big(app.primaryScreen()->size() * 2, QImage::Format_RGB32);
    big.fill(Qt::darkGreen);
    BookFixture f;
    if (!big.save(image) || !f.start(testbook::minimal()))
        return 1;
    QStringList out;
    int windows = 0;
    const auto check = [&](QWidget *w, const QString &what) { out << faults(w, what); ++windows; };
    for (int tab = 1; tab <= 4; ++tab) {
        f.book()->TabStrip1->selectTab(tab);
        check(f.frame(), QStringLiteral("frmMain %1").arg(tab));
    }
    frmRechercher search(f.m(), *f.book(), f.frame());
    search.show();
    check(&search, QStringLiteral("frmRechercher"));
    search.txtSaisie->setText(QStringLiteral("Texte"));
    search.cmdOk_Click();
    check(&search, QStringLiteral("frmRechercher, trouvé"));
    frmAbout about(f.platform(), f.frame());
    about.show();
    check(&about, QStringLiteral("frmAbout"));
    frmImage viewer(f.platform(), QStringLiteral("Recette 1"), image, 11, f.frame());
    viewer.Form_Load();
    viewer.show();
    check(&viewer, QStringLiteral("frmImage"));
    auto *scroll = viewer.findChild<QScrollArea *>();
    QTest::keyClick(viewer.Picture1, Qt::Key_Right);
    QWheelEvent wheel({5, 5}, {}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(scroll->viewport(), &wheel);
    if (scroll->horizontalScrollBar()->value() == 0 || scroll->verticalScrollBar()->value() == 0)
        out << QStringLiteral("frmImage : l'image ne défile ni à la flèche ni à la molette");
    HelpWindow help;
    help.showContents(testpaths::helpFile());
    check(&help, QStringLiteral("aide"));
    QtPlatform qt;
    QTimer::singleShot(0, [&] {
        check(QApplication::activeModalWidget(), QStringLiteral("message"));
        QApplication::activeModalWidget()->close();
    });
    static_cast<Platform &>(qt).msgBox(QStringLiteral("Fichier image\r\n%1\r\nnon trouvé ou incompatible.").arg(QStringLiteral("C:\\photos").repeated(60)), Platform::Icon::Critical);
    QTextStream(stdout) << out.join(u'\n') << (out.isEmpty() ? "" : "\n") << "fenêtres : " << windows << '\n';
    return 0;
}

} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT

private slots:
    void everyWindowFitsTheScreen_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("screen");
        for (int dpi : {96, 144, 192}) {
            for (QSize s : {QSize(1024, 600), QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
                QTest::addRow("%d dpi, %dx%d", dpi, s.width(), s.height()) << dpi << s;
        }
    }
    void everyWindowFitsTheScreen()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, screen);
        QTemporaryFile config;
        QVERIFY(config.open());
        config.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                         .arg(screen.width()).arg(screen.height()).toUtf8());
        config.flush();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config.fileName());
        env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dpi));
        env.insert(QStringLiteral("SCREENFIT_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath());
        QVERIFY(child.waitForFinished(120000) && child.exitCode() == 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), QStringLiteral("fenêtres : 10\n"));
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("SCREENFIT_CHILD"))
        return childMain(argc, argv);
    QApplication app(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenfit.moc"
