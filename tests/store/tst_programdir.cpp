// The program directory formed from the executable's directory, and which directories are floppies.
#include "store/programdir.h"

#include <QtTest>

using namespace gratinel;

class TestProgramDir : public QObject {
    Q_OBJECT

private slots:
    void programDirFromExecutableDir_data();
    void programDirFromExecutableDir();
};

void TestProgramDir::programDirFromExecutableDir_data()
{
    QTest::addColumn<QString>("exeDir");
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("floppy");

    // Windows paths: upper case, exactly one backslash at the end.
    QTest::newRow("lower-case folder") << "c:\\recettes" << "C:\\RECETTES\\" << false;
    QTest::newRow("already ends in backslash") << "C:\\Gratinel\\" << "C:\\GRATINEL\\" << false;
    QTest::newRow("drive root") << "D:\\" << "D:\\" << false;
    QTest::newRow("forward slashes") << "e:/Program Files/Gratinel" << "E:\\PROGRAM FILES\\GRATINEL\\" << false;
    QTest::newRow("accented folder") << "c:\\crème brûlée" << "C:\\CRÈME BRÛLÉE\\" << false;
    QTest::newRow("floppy a, lower case") << "a:\\recettes" << "A:\\RECETTES\\" << true;
    QTest::newRow("floppy A root") << "A:\\" << "A:\\" << true;
    QTest::newRow("floppy b, no backslash") << "B:" << "B:\\" << true;
    QTest::newRow("network path") << "\\\\serveur\\partage" << "\\\\SERVEUR\\PARTAGE\\" << false;
    QTest::newRow("network path on a server named a:") << "\\\\a:\\x" << "\\\\A:\\X\\" << false;

    // Other systems: case kept (file names there are case-sensitive), one slash at the end.
    QTest::newRow("linux folder") << "/home/Jean/Recettes" << "/home/Jean/Recettes/" << false;
    QTest::newRow("linux folder with slash") << "/opt/gratinel/" << "/opt/gratinel/" << false;
    QTest::newRow("linux root") << "/" << "/" << false;
    QTest::newRow("linux folder named a:") << "/a:/x" << "/a:/x/" << false;
    QTest::newRow("linux folder named b") << "/b" << "/b/" << false;
    QTest::newRow("linux folder with backslash") << "/home/j\\k" << "/home/j\\k/" << false;
}

void TestProgramDir::programDirFromExecutableDir()
{
    QFETCH(QString, exeDir);
    QFETCH(QString, programDir);
    QFETCH(bool, floppy);
    const QString dir = programDirFor(exeDir);
    QCOMPARE(dir, programDir);
    QCOMPARE(isFloppyDir(dir), floppy);
    // Forming it again changes nothing: the rule is applied to a path already formed.
    QCOMPARE(programDirFor(dir), programDir);
}

QTEST_APPLESS_MAIN(TestProgramDir)
#include "tst_programdir.moc"
