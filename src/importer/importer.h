// One entry point from a source's bytes to recipes ready for the book; nothing is written.
#pragma once

#include "importer/recipe.h"

#include <QByteArray>
#include <QString>

namespace gratinel::importer {

// The format of content, found from the content: our book text (a first line starting "@@" or "##"), a
// Meal-Master header, JSON ('{' or '['), HTML ('<' first, or a doctype or <html> near the
// start); Unknown otherwise.
Format detectFormat(const QByteArray &content);

// content as text: as its byte order mark says (UTF-8, UTF-16), else UTF-8 when it is valid
// UTF-8, otherwise Windows-1252.
QString decodeSource(const QByteArray &content);

// The recipes of an HTML page, a JSON file or a Meal-Master file (a book text gives none:
// the book's own reader takes it). address names the source in each text's "Source : " line
// when the recipe gives no address of its own (for a page, its canonical address comes
// first). Content over kMaxSourceBytes is refused. problem, when set, says why nothing
// could be read. charset is the one the server gave (decodeText tells the order).
ParseResult parseSource(const QByteArray &content, const QString &address, QString *problem = nullptr,
                        const QByteArray &charset = {});

} // namespace gratinel::importer
