// Any bytes read as a data file: lines never hold a line feed, writing them and reading them
// back gives the same lines, and decoding for display never fails.
#include <cassert>

#include "records/DataLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QByteArrayView bytes(data, qsizetype(size));
    const QList<QByteArray> lines = splitLines(bytes);
    qsizetype lineBytes = 0;
    for (const QByteArray& line : lines) {
        assert(!line.contains('\n'));
        lineBytes += line.size();
        const QString shown = decodeLine(line);
        if (QString::fromUtf8(line).toUtf8() == line) assert(encodeText(shown) == line);
    }
    // Every byte that is not a line end (LF, or the CR before it) belongs to a line.
    assert(lineBytes <= bytes.size() && lineBytes >= bytes.size() - 2 * bytes.count('\n'));
    assert(splitLines(joinLines(lines)) == lines);
    return 0;
}
