// The page reader process's side of the exchange: each source's bytes read, its recipes answered.
#pragma once

namespace gratinel::importer {

// What the reader's end says to the program that started it.
enum ReaderExit { ReaderDone = 0, ReaderBrokenRequest = 2, ReaderOutOfMemory = 3 };

// Says it is ready on the standard output, then reads each request framed on the standard
// input with parseSource and writes its answer, until the input ends. Reads no file, opens no
// connection, holds no book. A failed allocation ends the process at once (ReaderOutOfMemory):
// the program refuses that source and starts another reader for the next.
int serveReader();

} // namespace gratinel::importer
