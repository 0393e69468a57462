#include "imaging/temporary_file_name.h"

#include <QRandomGenerator>

namespace zv {

namespace {

constexpr int kRandomDigits = 16;
// Keeps the temporary name within the file system's name limit when the final name is long.
constexpr qsizetype kMaxBaseInTemporaryName = 200;
constexpr char kSuffix[] = ".part";

bool IsLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

QByteArray TemporaryFileName::For(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray base = path.mid(slash + 1).left(kMaxBaseInTemporaryName);
    const QByteArray random = QByteArray::number(QRandomGenerator::global()->generate64(), 16)
                                  .rightJustified(kRandomDigits, '0');
    return path.left(slash + 1) + '.' + base + '.' + random + kSuffix;
}

bool TemporaryFileName::Matches(QByteArrayView entry) {
    const qsizetype suffix = qsizetype{sizeof(kSuffix)} - 1;
    // '.', at least one character of the name, '.', the digits, the suffix.
    const qsizetype digitsAt = entry.size() - suffix - kRandomDigits;
    if (digitsAt < 3 || !entry.startsWith('.') || !entry.endsWith(kSuffix) ||
        entry[digitsAt - 1] != '.') {
        return false;
    }
    for (qsizetype i = digitsAt; i < digitsAt + kRandomDigits; ++i) {
        if (!IsLowerHex(entry[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace zv
