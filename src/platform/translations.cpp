// Loading of Qt's French translation.
#include "platform/translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace gratinel {

bool installFrenchTranslations(QApplication &app)
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    auto *qt = new QTranslator(&app);
    const QStringList places = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString &dir : places) {
        if (qt->load(french, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
            QApplication::installTranslator(qt);
            return true;
        }
    }
    delete qt;
    return false;
}

} // namespace gratinel
