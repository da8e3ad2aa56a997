// What every benchmark shares: timing by median, the figure lines bench/run collects, the
// offscreen display, and the program started over a book folder.
//
// A figure is printed on stdout as one line "figure: NAME MEDIAN UNIT"; everything else a
// benchmark has to say goes to stderr (note()).
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace gratinel {
class FakePlatform;
class Module1;
class frmMain;
class frmRecettes;
} // namespace gratinel

namespace gratinel::bench {

// Median of runs timings of work, in milliseconds; prepare (untimed) runs before each one.
double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {});

struct Paired {
    double a = 0;
    double b = 0;
};

// Medians of a and b timed in turn, runs times each, in milliseconds; prepareA and prepareB
// run untimed before each run of their side. Timing the two sides in turn, run after run,
// lets a change of the machine's load weigh on both alike.
Paired pairedMedianMs(int runs, const std::function<void()> &a, const std::function<void()> &b,
                      const std::function<void()> &prepareA = {}, const std::function<void()> &prepareB = {});

// Prints "figure: name value unit" on stdout at once.
void figure(const char *name, double value, const char *unit);
// A line for the reader on stderr.
void note(const QString &text);

// Before the QApplication: the offscreen display unless one is given, and Qt's warnings
// about what the offscreen display cannot do silenced.
void prepareDisplay();

// The program started over the book in dir as Main does it, with the real main window,
// over a FakePlatform on which a benchmark scripts its answers (platform().answerNext).
class RunningBook {
public:
    explicit RunningBook(const QString &dir);
    ~RunningBook();
    RunningBook(const RunningBook &) = delete;
    RunningBook &operator=(const RunningBook &) = delete;

    bool started() const { return frame_ != nullptr; }
    FakePlatform &platform() { return *platform_; }
    Module1 &m() { return *m_; }
    frmMain *frame() const { return frame_; }
    frmRecettes *book() const;

private:
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
    frmMain *frame_ = nullptr;
};

// Copies the four data files of from into to (replacing them).
bool copyBook(const QString &from, const QString &to);

// The family and recipe counts in the headers of the book in dir (-1 when unreadable).
qint16 familiesOnDisk(const QString &dir);
qint16 recipesOnDisk(const QString &dir);
// True when the headers of the book in dir count these families and recipes; otherwise
// notes what they hold.
bool bookHolds(const QString &dir, int families, int recipes);

} // namespace gratinel::bench
