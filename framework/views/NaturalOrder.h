#pragma once

#include <QStringView>

// Orders names as people count: runs of digits compare by their numbers
// ("a2" before "a10"), everything else case-blind. Qt's collator offers a
// numeric mode, but it does nothing without ICU, as in this build.
//
// Negative, zero or positive, like strcmp. Names that differ only in case or
// in leading zeros compare equal; callers break such ties themselves.
int NaturalCompare(QStringView left, QStringView right);
