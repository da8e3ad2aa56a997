// Gratinel "Free": the program's entry point.
#include "mainwin/autobackuprun.h"
#include "mainwin/launch.h"
#include "platform/qtplatform.h"
#include "platform/translations.h"
#include "store/module1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gratinel"));
    gratinel::installFrenchTranslations(app);

    gratinel::QtPlatform platform;
    gratinel::Module1 m(platform, platform);
    if (!m.Main(gratinel::launchMainWindow))
        return 1;
    gratinel::startAutoBackup(m);
    return QApplication::exec();
}
