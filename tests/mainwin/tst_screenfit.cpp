// Every window of the program inside the screen, whatever its size and font resolution, with
// no control cut or covered by another. Each screen runs in a child process of its own.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/tabstrip.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmmain.h"
#include "platform/helpwindow.h"
#include "platform/qtplatform.h"
#include "search/frmrechercher.h"
#include "store/module1.h"
#include "viewer/frmimage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

using namespace gratinel;

namespace {

bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QComboBox *>(w) || qobject_cast<const QLabel *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTabBar *>(w);
}

// Where a control shows something, in global coordinates: a label only where its text is.
QRect shown(const QWidget *w)
{
    QRect r = w->rect();
    if (auto *label = qobject_cast<const QLabel *>(w))
        r = QStyle::alignedRect(Qt::LeftToRight, label->alignment(), label->sizeHint().boundedTo(r.size()), r);
    return QRect(w->mapToGlobal(r.topLeft()), r.size());
}

// A control is reachable when each holder up to the window shows it whole, or scrolls to it.
bool reachable(const QWidget *c, const QWidget *window)
{
    for (const QWidget *w = c; w != window; w = w->parentWidget()) {
        const QWidget *holder = w->parentWidget();
        auto *area = qobject_cast<const QAbstractScrollArea *>(holder ? holder->parentWidget() : nullptr);
        if (area && holder == area->viewport()) {
            const QSize over = w->size() - holder->size();
            if (area->horizontalScrollBar()->maximum() < over.width() || area->verticalScrollBar()->maximum() < over.height())
                return false;
        } else if (!holder->rect().contains(w->geometry())) {
            return false;
        }
    }
    return true;
}

QStringList faults(QWidget *window, const QString &what)
{
    QApplication::processEvents();
    QStringList out;
    if (!window->screen()->availableGeometry().contains(window->frameGeometry()))
        out << QStringLiteral("%1 : fenêtre hors de l'écran").arg(what);
    QList<QWidget *> controls;
    for (QWidget *c : window->findChildren<QWidget *>()) {
        bool inControl = false;
        for (QWidget *p = c->parentWidget(); p != window; p = p->parentWidget())
            inControl = inControl || isControl(p);
        if (isControl(c) && !inControl && c->isVisible())
            controls << c;
    }
    for (int i = 0; i < controls.size(); ++i) {
        if (!reachable(controls[i], window))
            out << QStringLiteral("%1 : %2 coupé").arg(what, controls[i]->objectName());
        for (int j = 0; j < i; ++j) {
            if (shown(controls[i]).intersects(shown(controls[j])))
                out << QStringLiteral("%1 : %2 sur %3").arg(what, controls[i]->objectName(), controls[j]->objectName());
        }
    }
    return out;
}

// Opens every window over a book whose recipe has an image twice the screen's size; prints
// each fault, then the count of windows checked.
int childMain(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("grand.png"));
    QImage big(app.primaryScreen()->size() * 2, QImage::Format_RGB32);
    big.fill(Qt::darkGreen);
    BookBuilder b;
    for (int i = 1; i <= 16; ++i)
        b.addFamily(QStringLiteral("Famille %1").arg(i));
    for (int i = 1; i <= 300; ++i)
        b.addRecipe(2, QStringLiteral("Recette %1").arg(i), QStringLiteral("Texte"), image);
    BookFixture f;
    if (!big.save(image) || !f.start(b))
        return 1;
    QStringList out;
    int windows = 0;
    const auto check = [&](QWidget *w, const QString &what) { out << faults(w, what); ++windows; };
    for (int tab = 1; tab <= 4; ++tab) {
        f.book()->TabStrip1->selectTab(tab);
        check(f.frame(), QStringLiteral("frmMain, onglet %1").arg(tab));
    }
    frmRechercher search(f.m(), *f.book(), f.frame());
    search.show();
    check(&search, QStringLiteral("frmRechercher"));
    search.txtSaisie->setText(QStringLiteral("Texte"));
    search.cmdOk_Click();
    check(&search, QStringLiteral("frmRechercher, recette trouvée"));
    frmAbout about(f.platform(), f.frame());
    about.show();
    check(&about, QStringLiteral("frmAbout"));
    frmImage viewer(f.platform(), QStringLiteral("Recette 1"), image, 11, f.frame());
    viewer.Form_Load();
    viewer.show();
    check(&viewer, QStringLiteral("frmImage"));
    auto *scroll = viewer.findChild<QScrollArea *>();
    QTest::keyClick(viewer.Picture1, Qt::Key_Right);
    QWheelEvent wheel(QPointF(5, 5), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(scroll->viewport(), &wheel);
    if (scroll->horizontalScrollBar()->value() == 0 || scroll->verticalScrollBar()->value() == 0)
        out << QStringLiteral("frmImage : ni la flèche ni la molette ne font défiler l'image");
    HelpWindow help;
    help.showContents(QStringLiteral(GRT_HLP_PATH));
    check(&help, QStringLiteral("aide"));
    QtPlatform qt;
    Platform &platform = qt;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        check(box, QStringLiteral("message"));
        box->close();
    });
    platform.msgBox(QStringLiteral("Fichier image\r\n%1\r\nnon trouvé ou incompatible.").arg(QStringLiteral("/photos").repeated(60)),
                    Platform::Icon::Critical);
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
            for (QSize screen : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
                QTest::addRow("%d dpi, %dx%d", dpi, screen.width(), screen.height()) << dpi << screen;
        }
    }
    void everyWindowFitsTheScreen()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, screen);
        QTemporaryDir dir;
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1, "height": %2,
                                        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                         .arg(screen.width()).arg(screen.height()).toUtf8());
        config.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config.fileName());
        env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dpi));
        env.insert(QStringLiteral("GRATINEL_SCREENFIT_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath());
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), QStringLiteral("fenêtres : 10\n"));
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("GRATINEL_SCREENFIT_CHILD"))
        return childMain(argc, argv);
    QApplication app(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenfit.moc"
