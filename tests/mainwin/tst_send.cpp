// Sending the recipe: the sheet written and handed to the desktop, the messages, and the desktop's associations.
#include "bookfixture.h"
#include "mainwin/frmmain.h"
#include "platform/desktopopen.h"
#include "store/module1.h"
#include "store/recipesheet.h"
#include "testbook.h"

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;

namespace {

const QByteArray kFirstRecipeSheet = "Gratinel \"Free\" (Edition du 5/3/2024)\r\n\r\nFamille de recettes : Famille 01\r\n\r\n"
                                     "Recette : Recette 001\r\n\r\nTexte 1\r\n";

} // namespace

class TestSend : public QObject {
    Q_OBJECT

private:
    // A desktop of its own: only the associations this test declares, and an "editor"
    // that notes the file it was asked to open.
    QTemporaryDir desktop_;

    QString opened() const { return desktop_.filePath(QStringLiteral("opened")); }

private slots:
    void initTestCase()
    {
        QVERIFY(desktop_.isValid());
        const QString data = desktop_.filePath(QStringLiteral("data"));
        const QString config = desktop_.filePath(QStringLiteral("config"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/applications")) && QDir().mkpath(config));
        const QString editor = desktop_.filePath(QStringLiteral("editor.sh"));
        QVERIFY(testbook::writeFile(editor, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + opened().toLocal8Bit() + ".part\"\nmv \""
                                                + opened().toLocal8Bit() + ".part\" \"" + opened().toLocal8Bit() + "\"\n"));
        QVERIFY(QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(testbook::writeFile(data + QStringLiteral("/applications/gratinel-test-editor.desktop"),
                                    "[Desktop Entry]\nType=Application\nName=Editeur\nExec=" + editor.toLocal8Bit()
                                        + " %f\nMimeType=text/plain;\n"));
        QVERIFY(testbook::writeFile(config + QStringLiteral("/mimeapps.list"),
                                    "[Default Applications]\ntext/plain=gratinel-test-editor.desktop\n"));
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", config.toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (data + QStringLiteral(":/usr/share")).toLocal8Bit());
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                 "BROWSER", "WAYLAND_DISPLAY"})
            qunsetenv(name);
        // The desktop's opener only consults associations with a display to show them on.
        qputenv("DISPLAY", ":97");
    }

    void sendWritesTheSheetAndHandsItToTheDesktop_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("notepad") << "mnuEditEnvoyerNotePad" << "recette.txt";
        QTest::newRow("word processor") << "mnuEditEnvoyerTtx" << "recette.doc";
    }
    void sendWritesTheSheetAndHandsItToTheDesktop()
    {
        QFETCH(QString, command);
        QFETCH(QString, sheet);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.platform().calls.clear();
        f.frame()->menuItem(command)->trigger();
        QCOMPARE(f.bytes(sheet), kFirstRecipeSheet);
        // The hourglass lasts until the desktop has the sheet.
        QCOMPARE(f.platform().calls, (QStringList{"pointer:hourglass", "shell:" + f.path(sheet), "pointer:normal"}));
        QVERIFY(f.platform().messages.empty());
    }

    void sendMessages_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Platform::Icon>("icon");
        QTest::newRow("no program for txt") << "Notepad" << true << "Aucune association n'est définie pour les fichiers *.TXT"
                                            << Platform::Icon::Information;
        QTest::newRow("no program for doc") << "Ttx" << true << "Aucune association n'est définie pour les fichiers *.DOC"
                                            << Platform::Icon::Information;
        QTest::newRow("txt not written") << "Notepad" << false << "Impossibilité de créer un fichier temporaire."
                                         << Platform::Icon::Critical;
        QTest::newRow("doc not written") << "Ttx" << false << "Impossibilté de créer un fichier temporaire."
                                         << Platform::Icon::Critical;
    }
    void sendMessages()
    {
        QFETCH(QString, button);
        QFETCH(bool, writable);
        QFETCH(QString, message);
        QFETCH(Platform::Icon, icon);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        const QString sheet = button == u"Ttx" ? QStringLiteral("recette.doc") : QStringLiteral("recette.txt");
        if (!writable)
            QVERIFY(QDir().mkdir(f.path(sheet)));
        f.platform().nextShellResult(Platform::kNoAssociation);
        f.frame()->tbToolBar_ButtonClick(button);
        QCOMPARE(f.platform().messageTexts(), QStringList{message});
        QCOMPARE(f.platform().messages.back().icon, icon);
        // A sheet that was not written is never opened; one that was stays on disk.
        QCOMPARE(f.platform().calls.filter(QStringLiteral("shell:")).size(), writable ? 1 : 0);
        QCOMPARE(QFileInfo(f.path(sheet)).isFile(), writable);
    }

    void desktopOpensAFileWithItsAssociatedProgram()
    {
        QTemporaryDir dir;
        const QString sheet = dir.filePath(QStringLiteral("recette.txt"));
        QVERIFY(testbook::writeFile(sheet, kFirstRecipeSheet));
        QFile::remove(opened());
        QCOMPARE(desktopOpen(sheet, dir.path()), 42);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(opened()), 20000);
        QCOMPARE(QString::fromLocal8Bit(testbook::readFile(opened())), sheet);
    }

    void desktopRefusesWhatNothingOpens_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("result");
        QTest::newRow("word processor file") << "recette.doc" << kFirstRecipeSheet << 31;
        QTest::newRow("unknown bytes") << "recette.zzq" << QByteArray("\x01\x02\x03\xff", 4) << 31;
        QTest::newRow("missing file") << "" << QByteArray() << 2;
    }
    void desktopRefusesWhatNothingOpens()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, result);
        QTemporaryDir dir;
        const QString path = dir.filePath(name.isEmpty() ? QStringLiteral("absent.txt") : name);
        if (!name.isEmpty())
            QVERIFY(testbook::writeFile(path, content));
        const QStringList types = desktopTypesOf(path);
        if (result == 31 && desktopHasAssociation(path, types))
            QSKIP("this system's own desktop opens that type");
        QFile::remove(opened());
        QCOMPARE(desktopOpen(path, dir.path()), result);
        // Nothing was started: after a while the editor has still seen nothing.
        QTest::qWait(300);
        QVERIFY(!QFileInfo::exists(opened()));
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
