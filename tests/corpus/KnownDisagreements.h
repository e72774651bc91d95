#pragma once

#include <span>

// Fields of corpus files where our record and exiftool's reading differ for
// a known, explained reason. Every entry must still disagree: a stale entry
// fails the check as well.
struct KnownDisagreement {
    const char* file;
    const char* field;
    const char* reason;
};

std::span<const KnownDisagreement> KnownDisagreements();
