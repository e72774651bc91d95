#include "framework/views/NaturalOrder.h"

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The end of the digit run starting at `from`.
qsizetype DigitRunEnd(QStringView text, qsizetype from) {
    while (from < text.size() && IsDigit(text[from]))
        ++from;
    return from;
}

// Two runs of ASCII digits by their values, of any length: without their
// leading zeros, the longer run is the larger number, and runs of one length
// compare digit by digit.
int CompareNumbers(QStringView left, QStringView right) {
    while (left.size() > 1 && left.front() == u'0')
        left = left.sliced(1);
    while (right.size() > 1 && right.front() == u'0')
        right = right.sliced(1);
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    for (qsizetype i = 0; i < left.size(); ++i)
        if (left[i] != right[i])
            return left[i] < right[i] ? -1 : 1;
    return 0;
}

} // namespace

int NaturalCompare(QStringView left, QStringView right) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < left.size() && j < right.size()) {
        if (IsDigit(left[i]) && IsDigit(right[j])) {
            const qsizetype leftEnd = DigitRunEnd(left, i);
            const qsizetype rightEnd = DigitRunEnd(right, j);
            const int order =
                CompareNumbers(left.sliced(i, leftEnd - i), right.sliced(j, rightEnd - j));
            if (order != 0)
                return order;
            i = leftEnd;
            j = rightEnd;
            continue;
        }
        // One character at a time, case folded; a surrogate pair compares
        // by its code units, which keeps the order of code points.
        const char16_t a = left[i].toCaseFolded().unicode();
        const char16_t b = right[j].toCaseFolded().unicode();
        if (a != b)
            return a < b ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < left.size())
        return 1;
    if (j < right.size())
        return -1;
    return 0;
}
