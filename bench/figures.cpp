// Timing, figure lines and the program started over a book, for the benchmarks.
#include "figures.h"

#include "fakeplatform.h"
#include "mainwin/frmmain.h"
#include "mainwin/launch.h"
#include "store/module1.h"
#include "testbook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace gratinel::bench {

double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

Paired pairedMedianMs(int runs, const std::function<void()> &a, const std::function<void()> &b,
                      const std::function<void()> &prepareA, const std::function<void()> &prepareB)
{
    std::vector<double> ta, tb;
    const auto time = [](const std::function<void()> &prepare, const std::function<void()> &work) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        work();
        return double(t.nsecsElapsed()) / 1e6;
    };
    for (int i = 0; i < runs; ++i) {
        ta.push_back(time(prepareA, a));
        tb.push_back(time(prepareB, b));
    }
    const auto median = [](std::vector<double> &v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {median(ta), median(tb)};
}

void figure(const char *name, double value, const char *unit)
{
    std::printf("figure: %s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

void note(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void prepareDisplay()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
}

RunningBook::RunningBook(const QString &dir) : platform_(std::make_unique<FakePlatform>())
{
    platform_->exeDir = dir;
    m_ = std::make_unique<Module1>(*platform_, *platform_);
    if (m_->Main(launchMainWindow))
        frame_ = qobject_cast<frmMain *>(m_->mainWindow);
}

RunningBook::~RunningBook()
{
    // The frame holds the module by reference: it goes first.
    delete frame_;
}

frmRecettes *RunningBook::book() const
{
    return frame_ ? frame_->recettes() : nullptr;
}

bool copyBook(const QString &from, const QString &to)
{
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"}) {
        const QString target = QDir(to).filePath(QLatin1String(name));
        QFile::remove(target);
        if (!QFile::copy(QDir(from).filePath(QLatin1String(name)), target))
            return false;
    }
    return true;
}

namespace {

qint16 countIn(const QString &dir, const char *file)
{
    QFile f(QDir(dir).filePath(QLatin1String(file)));
    const QByteArray header = f.open(QIODevice::ReadOnly) ? f.read(2) : QByteArray();
    return header.size() == 2 ? testbook::int16At(header, 0) : qint16(-1);
}

} // namespace

qint16 familiesOnDisk(const QString &dir)
{
    return countIn(dir, "GRTN1.DAT");
}

qint16 recipesOnDisk(const QString &dir)
{
    return countIn(dir, "GRTN2.DAT");
}

bool bookHolds(const QString &dir, int families, int recipes)
{
    const int f = familiesOnDisk(dir);
    const int r = recipesOnDisk(dir);
    if (f == families && r == recipes)
        return true;
    note(QStringLiteral("livre faux dans %1 : %2 familles et %3 recettes au lieu de %4 et %5")
             .arg(dir).arg(f).arg(r).arg(families).arg(recipes));
    return false;
}

} // namespace gratinel::bench
