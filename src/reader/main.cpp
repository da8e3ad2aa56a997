// gratinel-reader: reads the sources of recipes handed to it by Gratinel and its book tool, in a
// process of its own under the limits they set.
#include "importer/readerloop.h"

int main()
{
    return gratinel::importer::serveReader();
}
