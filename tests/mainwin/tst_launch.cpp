// Home page, help and the desktop's image viewer, from the frame's commands; the help window itself.
#include "testpaths.h"
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/tabstrip.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmmain.h"
#include "platform/helpwindow.h"
#include "platform/qtplatform.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

using namespace gratinel;

namespace {

// The smallest book, whose first shown recipe ("Aaa") has the image at imagePath.
BookBuilder bookWithImage(const QString &imagePath)
{
    BookBuilder b;
    for (int i = 1; i <= 16; ++i)
        b.addFamily(QStringLiteral("Famille %1").arg(i, 2, 10, QLatin1Char('0')));
    b.addRecipe(2, QStringLiteral("Aaa"), QStringLiteral("Texte"), imagePath);
    for (int i = 2; i <= 300; ++i)
        b.addRecipe(2, QStringLiteral("Recette %1").arg(i, 3, 10, QLatin1Char('0')));
    return b;
}

} // namespace

class TestLaunch : public QObject {
    Q_OBJECT

private slots:
    void homePageFromTheLinkAndTheMenu_data()
    {
        QTest::addColumn<bool>("fromLink");
        QTest::addColumn<int>("result");
        QTest::newRow("link") << true << 42;
        QTest::newRow("menu") << false << 42;
        QTest::newRow("no browser") << false << 31;
    }
    void homePageFromTheLinkAndTheMenu()
    {
        QFETCH(bool, fromLink);
        QFETCH(int, result);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.platform().nextShellResult(result);
        f.platform().calls.clear();
        if (fromLink)
            QTest::mouseClick(f.frame()->lblAdresseWeb(), Qt::LeftButton);
        else
            f.frame()->menuItem(QStringLiteral("mnuHelpGrSurLeWeb"))->trigger();
        QCOMPARE(f.platform().calls.first(), QStringLiteral("shell:") + frmAbout::homePage());
        QVERIFY(frmAbout::homePage().startsWith(u"https://"));
        QCOMPARE(f.platform().messageTexts(),
                 result == 31 ? QStringList{"Aucune association n'est définie pour naviguer sur Internet"} : QStringList());
        if (result == 31)
            QCOMPARE(f.platform().messages.back().icon, Platform::Icon::Information);
    }

    void helpOpensAtItsContentsFromEveryWay_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu") << "menu";
        QTest::newRow("toolbar") << "toolbar";
        QTest::newRow("F1 in the recipe text") << "F1";
        QTest::newRow("F1 on the add page") << "F1 add";
    }
    void helpOpensAtItsContentsFromEveryWay()
    {
        QFETCH(QString, way);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.frame()));
        f.platform().calls.clear();
        if (way == u"menu") {
            f.frame()->menuItem(QStringLiteral("mnuHelpContents"))->trigger();
        } else if (way == u"toolbar") {
            f.frame()->tbToolBar_ButtonClick(QStringLiteral("Help"));
        } else {
            if (way == u"F1 add")
                f.book()->TabStrip1->selectTab(2);
            QWidget *focus = way == u"F1" ? static_cast<QWidget *>(f.book()->txtRecette) : f.book()->TabStrip1;
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_F1);
        }
        QCOMPARE(f.platform().calls.filter(QStringLiteral("help:")), QStringList{"help:" + f.path("grt.hlp")});
        QVERIFY(f.platform().messages.empty());
    }

    void aHelpFailureShowsItsDescription()
    {
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.platform().helpError = QStringLiteral("Le système d'aide ne répond pas.");
        f.frame()->ShowHelpContents();
        QCOMPARE(f.platform().messageTexts(), QStringList{"Le système d'aide ne répond pas."});
        QCOMPARE(f.platform().messages.back().icon, Platform::Icon::None);
    }

    void theHelpWindowShowsTheFileOrSaysItIsMissing()
    {
        QtPlatform platform;
        QVERIFY(platform.helpContents(testpaths::helpFile()).isEmpty());
        HelpWindow *help = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *h = qobject_cast<HelpWindow *>(w))
                help = h;
        }
        QVERIFY(help && help->isVisible());
        auto *browser = help->findChild<QTextBrowser *>();
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Sommaire")));

        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("grt.hlp"));
        QVERIFY(platform.helpContents(missing).isEmpty());
        QVERIFY(browser->toPlainText().contains(QStringLiteral("introuvable")));
        QVERIFY(browser->toPlainText().contains(missing));

        QPointer<HelpWindow> watched(help);
        platform.helpQuit(missing);
        QTRY_VERIFY(watched.isNull());
    }

    void everyLinkOfTheHelpLeadsToAPlaceInIt()
    {
        const QString html = QString::fromUtf8(testbook::readFile(testpaths::helpFile()));
        QVERIFY(!html.isEmpty());
        QSet<QString> anchors;
        for (const auto &m : QRegularExpression(QStringLiteral("name=\"([^\"]+)\"")).globalMatch(html))
            anchors << m.captured(1);
        int links = 0;
        for (const auto &m : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html)) {
            ++links;
            QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
        }
        QVERIFY(links > 10);
    }

    void associatedViewer_data()
    {
        QTest::addColumn<QString>("file");    // "image", "script", "misnamed", "gone"
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message"); // %1 is the path
        QTest::newRow("image") << "image" << 1 << 42 << "";
        QTest::newRow("no viewer") << "image" << 1 << 31 << "Aucune association n'est définie pour afficher l'image";
        QTest::newRow("gone") << "gone" << 1 << 42 << "Fichier\r\n%1\r\nnon trouvé.";
        // A program named like a picture is never handed to the desktop, which would run it.
        QTest::newRow("script named photo.jpg") << "script" << 1 << 42 << "Ce fichier n'est pas un fichier image.";
        // The desktop would choose a Java runtime by the name of this picture.
        QTest::newRow("picture named tarte.jar") << "misnamed" << 1 << 42 << "Ce fichier n'est pas un fichier image.";
        // A browser would run the scripts an SVG picture may carry.
        QTest::newRow("SVG picture") << "svg" << 1 << 42 << "Ce fichier n'est pas un fichier image.";
        QTest::newRow("modify page") << "image" << 3 << 42 << "-";
        QTest::newRow("delete page") << "gone" << 4 << 42 << "-";
    }
    void associatedViewer()
    {
        QFETCH(QString, file);
        QFETCH(int, page);
        QFETCH(int, result);
        QFETCH(QString, message);

        QTemporaryDir images;
        const QString path = images.filePath(file == u"misnamed" ? QStringLiteral("tarte.jar")
                                             : file == u"svg"    ? QStringLiteral("tarte.svg")
                                                                 : QStringLiteral("photo.jpg"));
        if (file == u"svg") {
            QVERIFY(testbook::writeFile(path, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\">"
                                              "<script>alert(1)</script></svg>"));
        } else if (file == u"script") {
            QVERIFY(testbook::writeFile(path, "#!/bin/sh\necho pris > \"$HOME/pris\"\n"));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        } else {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::red);
            QVERIFY(picture.save(path, "JPG"));
        }
        BookFixture f;
        QVERIFY(f.start(bookWithImage(path)));
        QCOMPARE(f.book()->imagePath(), path);
        if (file == u"gone")
            QVERIFY(QFile::remove(path));
        f.book()->TabStrip1->selectTab(page);
        f.platform().nextShellResult(result);
        f.platform().calls.clear();

        f.frame()->mnuViewImageVisuAssocie_Click();
        if (message == u"-") {
            QCOMPARE(f.platform().calls, QStringList());
            return;
        }
        const bool opens = file == u"image";
        QCOMPARE(f.platform().calls.filter(QStringLiteral("shell:")), opens ? QStringList{"shell:" + path} : QStringList());
        QCOMPARE(f.platform().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message.arg(path)});
        if (!message.isEmpty())
            QCOMPARE(f.platform().messages.back().icon, result == 31 ? Platform::Icon::Information : Platform::Icon::Critical);
    }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
