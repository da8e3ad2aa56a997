// Toolbar images, drawn from the program's resources.
#include "mainwin/imagelist.h"

namespace gratinel {

ImageList::ImageList() = default;

const QStringList &ImageList::keys()
{
    static const QStringList k = {
        QStringLiteral("Print"),     QStringLiteral("Cut"),       QStringLiteral("Copy"),
        QStringLiteral("Paste"),     QStringLiteral("Recette"),   QStringLiteral("Fromage"),
        QStringLiteral("Menu"),      QStringLiteral("Vin"),       QStringLiteral("Millesime"),
        QStringLiteral("CoupCoeur"), QStringLiteral("Tool"),      QStringLiteral("Sandwich"),
        QStringLiteral("Help"),      QStringLiteral("Camera"),    QStringLiteral("Find"),
        QStringLiteral("Ttx"),       QStringLiteral("Notepad"),   QStringLiteral("coeur1"),
        QStringLiteral("Exit"),      QStringLiteral("MesNotes"),
    };
    return k;
}

QIcon ImageList::byKey(const QString &key) const
{
    if (!keys().contains(key))
        return {};
    return QIcon(QStringLiteral(":/toolbar/%1.svg").arg(key));
}

QIcon ImageList::byIndex(int index) const
{
    if (index < 1 || index > count())
        return {};
    return byKey(keys().at(index - 1));
}

} // namespace gratinel
