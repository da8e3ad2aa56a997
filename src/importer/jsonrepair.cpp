// Mending the JSON of real pages before reading it.
#include "importer/jsonrepair.h"

#include "importer/limits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace gratinel::importer {

namespace {

QJsonValue valueOf(const QJsonDocument &doc)
{
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

bool startsAt(const QString &t, qsizetype i, QLatin1StringView word)
{
    return t.mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// The text mended into top-level values, each as its own JSON text.
std::vector<QString> mended(const QString &t)
{
    std::vector<QString> values;
    QString current;
    int depth = 0;
    bool inString = false;
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = t.at(i);
        if (inString) {
            if (c == u'\\' && i + 1 < n) {
                current += c;
                current += t.at(++i);
            } else if (c == u'"') {
                inString = false;
                current += c;
            } else if (c == u'\n') {
                current += QLatin1String("\\n");
            } else if (c == u'\r') {
                current += QLatin1String("\\r");
            } else if (c == u'\t') {
                current += QLatin1String("\\t");
            } else if (c.unicode() < 0x20) {
                current += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
            } else {
                current += c;
            }
            continue;
        }
        // Outside strings: wrappers and comments go.
        const bool marker = c == u'<' || c == u'-' || c == u']';
        if (marker && startsAt(t, i, QLatin1StringView("<!--"))) {
            i += 3;
            continue;
        }
        if (marker && startsAt(t, i, QLatin1StringView("-->"))) {
            i += 2;
            continue;
        }
        if (marker && startsAt(t, i, QLatin1StringView("<![CDATA["))) {
            i += 8;
            continue;
        }
        if (marker && startsAt(t, i, QLatin1StringView("]]>"))) {
            i += 2;
            continue;
        }
        if (c == u'/' && i + 1 < n && t.at(i + 1) == u'/') {
            while (i < n && t.at(i) != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && t.at(i + 1) == u'*') {
            const qsizetype close = t.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? n : close + 1;
            continue;
        }
        if (c == u'"') {
            inString = true;
            current += c;
        } else if (c == u'{' || c == u'[') {
            if (depth > kMaxDepth * 4)
                return values; // deeper than any walk follows
            ++depth;
            current += c;
        } else if (c == u'}' || c == u']') {
            // A comma just before the bracket goes.
            qsizetype k = current.size() - 1;
            while (k >= 0 && current.at(k).isSpace())
                --k;
            if (k >= 0 && current.at(k) == u',')
                current.remove(k, 1);
            current += c;
            if (--depth <= 0) {
                values.push_back(current);
                current.clear();
                depth = 0;
            }
        } else if (depth > 0) {
            current += c;
        }
        // Between values (';', ',', stray words) nothing is kept.
    }
    return values;
}

} // namespace

std::vector<QJsonValue> readJsonValues(const QString &text)
{
    std::vector<QJsonValue> out;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return out;
    const QJsonDocument strict = QJsonDocument::fromJson(t.toUtf8());
    if (!strict.isNull()) {
        out.push_back(valueOf(strict));
        return out;
    }
    for (const QString &part : mended(t)) {
        const QJsonDocument doc = QJsonDocument::fromJson(part.toUtf8());
        if (!doc.isNull())
            out.push_back(valueOf(doc));
        if (int(out.size()) >= kMaxScripts)
            break;
    }
    return out;
}

} // namespace gratinel::importer
