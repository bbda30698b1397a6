// The C runtime opens standard output and error in text mode, which writes
// "\r\n" for "\n". The programs write "\n" line ends as on every other
// platform, so a replay's output compares byte for byte with theirs.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace {
const int binaryStreams = [] {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return 0;
}();
}  // namespace
