// Child of the crash test: makes the seeded changes on a book and reports each one once its call returned.
//
// Usage: crashchild SEED DIR [CHANGES]. Prints "ack N" after the Nth change is made; the
// parent kills this process at a moment of its choosing.
#include "crashops.h"
#include "testbook.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

#include <unistd.h>

using namespace gratinel;

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: crashchild SEED DIR [CHANGES]\n");
        return 2;
    }
    const quint64 seed = std::strtoull(argv[1], nullptr, 10);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const int changes = argc > 3 ? std::atoi(argv[3]) : 100000;

    testbook::OpenedBook opened(dir);
    Module1 &m = opened.m;
    crash::Book book;
    QString error;
    if (!opened.started || !crash::readBook(dir, book, error)) {
        std::fprintf(stderr, "crashchild: cannot open the book: %s\n", qPrintable(error));
        return 3;
    }
    crash::Generator generator(seed);
    for (int i = 1; i <= changes; ++i) {
        const crash::Change change = generator.next(book);
        const Status s = crash::make(m, change);
        if (!s.isOk()) {
            std::fprintf(stderr, "crashchild: change %d refused: %s (%s)\n", i, qPrintable(s.message()),
                         qPrintable(change.describe()));
            return 4;
        }
        crash::apply(book, change);
        // One write per line, so that the parent never reads half an acknowledgement.
        char line[32];
        const int n = std::snprintf(line, sizeof line, "ack %d\n", i);
        if (::write(STDOUT_FILENO, line, size_t(n)) != n)
            return 5;
    }
    return 0;
}
