// A small cookbook for the booklet's tests, and its PDF read back as poppler's tools read it.
#pragma once

#include "store/bookbuilder.h"

#include <QString>
#include <QStringList>

namespace gratinel::cookbook {

// Titles of the medium recipes: each about half a page of A4 text, so that two never share one.
QStringList mediumTitles();
// The long recipe's title and its lines ("Étape 1 : ...", one paragraph each), three pages long.
inline const QString kLong = QStringLiteral("Gâteau de Savoie");
QStringList longLines();

// Desserts: Crème brûlée, Flan (its photo missing), the medium recipes, the long one, Soufflé
// (a 60 x 40 photo written in photoDir), Tarte aux pommes; Goûters: Cookies, Tarte aux
// pommes; Vide, without recipes.
BookBuilder build(const QString &photoDir);

// The text of each page, as pdftotext gives it; empty when the PDF cannot be read.
QStringList pages(const QString &pdf);
// What pdfinfo and "pdfimages -list" say of the PDF.
QString info(const QString &pdf);
QString imageList(const QString &pdf);
// The lines of a contents or index page that end with page numbers: label and numbers.
QList<QPair<QString, QList<int>>> numberedLines(const QString &page);

} // namespace gratinel::cookbook
