// The booklet as the user makes it with the book tool, a whole process each time: the starter
// book with a photo on every recipe (median of several runs), then the maximal book's family
// of 5000 recipes, with the peak memory of its process. Exits 1 when a run fails or its PDF
// is not there.
#include "figures.h"
#include "maxbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

extern char **environ;

using namespace gratinel;
using namespace gratinel::bench;

namespace {

struct Run {
    bool ok = false;
    double peakMb = 0;
};

// The tool run as its own process; its peak resident memory from the system's account.
Run runTool(const QStringList &args)
{
    std::vector<QByteArray> bytes{QByteArrayLiteral(GRATINEL_BOOKTOOL_PATH)};
    for (const QString &a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage {};
        if (wait4(pid, &status, 0, &usage) == pid) {
            run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            run.peakMb = usage.ru_maxrss / 1024.0;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Photos as a cook's are: sizes from a small web picture to a camera's, grain and all.
bool writePhotos(const QString &dir, QStringList &files)
{
    const QSize sizes[] = {{2048, 1536}, {1600, 1200}, {1200, 1600}, {1280, 853}, {320, 240}};
    QRandomGenerator random(23);
    for (const QSize &size : sizes) {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient g(0, 0, size.width(), size.height());
        g.setColorAt(0, QColor(200, 120, 60));
        g.setColorAt(1, QColor(90, 140, 70));
        p.fillRect(image.rect(), g);
        for (int i = 0; i < 400; ++i) {
            p.setBrush(QColor::fromRgb(random.generate() & 0xFFFFFF));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPoint(random.bounded(size.width()), random.bounded(size.height())), random.bounded(10, 120),
                          random.bounded(10, 120));
        }
        p.end();
        for (int y = 0; y < size.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                const int n = int(random.bounded(24)) - 12;
                const QRgb c = line[x];
                line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
            }
        }
        const QString file = QDir(dir).filePath(QStringLiteral("photo-%1x%2.jpg").arg(size.width()).arg(size.height()));
        if (!image.save(file, "JPG", 88))
            return false;
        files << file;
    }
    return true;
}

// The starter book's source with a photo line under every recipe's title, each recipe its own copy.
bool makeStarterWithPhotos(const QString &dir, QString &error)
{
    QStringList photos;
    const QString photoDir = QDir(dir).filePath(QStringLiteral("photos"));
    if (!QDir().mkpath(photoDir) || !writePhotos(photoDir, photos)) {
        error = QStringLiteral("photos non écrites");
        return false;
    }
    QFile livre(QStringLiteral(GRATINEL_LIVRE_PATH));
    if (!livre.open(QIODevice::ReadOnly))
        return false;
    QStringList out;
    int n = 0;
    for (const QString &line : QString::fromUtf8(livre.readAll()).split(u'\n')) {
        out << line;
        if (line.startsWith(QLatin1String("## "))) {
            const QString copy = QDir(photoDir).filePath(QStringLiteral("recette-%1.jpg").arg(n));
            if (!QFile::copy(photos[n++ % photos.size()], copy))
                return false;
            out << QStringLiteral("!! ") + copy;
        }
    }
    const QString source = QDir(dir).filePath(QStringLiteral("livre-photos.txt"));
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly) || file.write(out.join(u'\n').toUtf8()) < 0)
        return false;
    file.close();
    const QString book = QDir(dir).filePath(QStringLiteral("livre"));
    if (!runTool({QStringLiteral("create"), book, source}).ok || !bookHolds(book, 21, 339)) {
        error = QStringLiteral("livre de départ non créé");
        return false;
    }
    return true;
}

bool isPdf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-" && f.size() > 10000;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QString error;
    if (!dir.isValid() || !makeStarterWithPhotos(dir.path(), error)) {
        note(QStringLiteral("bench_booklet : %1").arg(error));
        return 1;
    }
    const QString book = dir.filePath(QStringLiteral("livre"));
    const QString pdf = dir.filePath(QStringLiteral("livret.pdf"));
    bool ok = true;
    figure("booklet_starter_ms",
           medianMs(
               5, [&] { ok = runTool({QStringLiteral("livret"), book, pdf}).ok && isPdf(pdf) && ok; },
               [&] { QFile::remove(pdf); }),
           "ms");
    if (!ok) {
        note(QStringLiteral("bench_booklet : le livret du livre de départ a échoué"));
        return 1;
    }

    const QString max = dir.filePath(QStringLiteral("max"));
    MaxBookInfo info;
    if (!QDir().mkpath(max) || !writeMaxBook(max, {}, &info).isOk() || !bookHolds(max, 1000, 32767)) {
        note(QStringLiteral("bench_booklet : impossible d'écrire le livre maximal"));
        return 1;
    }
    double peak = 0;
    QFile::remove(pdf);
    figure("booklet_5000_ms", medianMs(1, [&] {
               const Run run = runTool({QStringLiteral("livret"), max, pdf, QStringLiteral("--famille"), info.bigFamilyName});
               ok = run.ok && isPdf(pdf);
               peak = run.peakMb;
           }),
           "ms");
    if (!ok) {
        note(QStringLiteral("bench_booklet : le livret de la famille de 5000 recettes a échoué"));
        return 1;
    }
    figure("booklet_5000_peak_rss_mb", peak, "MB");
    return 0;
}
