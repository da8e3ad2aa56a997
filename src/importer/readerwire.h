// The messages between the program and its page reader process: a source's bytes one way, the
// recipes found (or why none) the other, each in a frame of ours.
#pragma once

#include "importer/recipe.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gratinel::importer {

struct ReaderRequest {
    QByteArray content;
    QString address;    // names the source in the recipes' "Source : " line
    QByteArray charset; // what the server said of the page's characters, or empty
};

struct ReaderAnswer {
    ParseResult result;
    QString problem; // why nothing could be read, or empty
};

// A frame: "GRTR", the payload's size (4 bytes, most significant first), the payload.
QByteArray frame(const QByteArray &payload);

enum class FrameState { Incomplete, Complete, Broken };

// Takes the first frame out of buffer into payload when it is whole. Broken: the buffer does
// not start with a frame, or announces a payload over maxPayload bytes.
FrameState takeFrame(QByteArray &buffer, QByteArray &payload, qint64 maxPayload);

// What the reader says once it has started, before any request.
QByteArray readyPayload();

QByteArray encodeRequest(const ReaderRequest &request);
std::optional<ReaderRequest> decodeRequest(const QByteArray &payload);

QByteArray encodeAnswer(const ReaderAnswer &answer);
// No value when payload is not an answer, or holds a recipe the book could not take as it is
// (a title or text past the book's limits, or characters it cannot store): an answer is
// checked as any input is.
std::optional<ReaderAnswer> decodeAnswer(const QByteArray &payload);

} // namespace gratinel::importer
