// Where the tests and benchmarks find the book tool, the starter book's source, the help file
// and the crash test's child. The paths are written by CMake into a generated source of the
// build folder, not into the compile commands, so that clones in other folders compile the
// tests to the same objects and share the compiler cache.
#pragma once

#include <QString>

namespace gratinel::testpaths {

QString bookTool();      // gratinel-book, as built
QString starterSource(); // data/livre.txt
QString helpFile();      // data/grt.hlp
QString crashChild();    // the crash test's child, as built

} // namespace gratinel::testpaths
