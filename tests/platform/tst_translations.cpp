// Qt's own dialogs speak French once the program's translations are installed.
#include "platform/translations.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace gratinel;

class TestTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(installFrenchTranslations(*qApp)); }

    void messageBoxButtonsAreFrench()
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Oui"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Non"));
    }

    void textContextMenuIsFrench()
    {
        QPlainTextEdit edit(QStringLiteral("abc"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList captions;
        for (QAction *a : menu->actions())
            captions << a->text().remove(u'&').section(u'\t', 0, 0);
        QVERIFY2(captions.contains(QStringLiteral("Copier")), qPrintable(captions.join(u'|')));
        QVERIFY2(captions.contains(QStringLiteral("Tout sélectionner")), qPrintable(captions.join(u'|')));
    }

    void defaultLocaleIsFrench() { QCOMPARE(QLocale().language(), QLocale::French); }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
