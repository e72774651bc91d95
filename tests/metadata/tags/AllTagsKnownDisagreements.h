#pragma once

#include <span>

// Entries of corpus files where our walk and exiftool's reading differ for
// a known, explained reason. Every entry must still disagree: a stale entry
// fails the check as well.
struct AllTagsKnownDisagreement {
    const char* file;
    const char* tag; // exiftool's "Group:Name"
    const char* reason;
};

std::span<const AllTagsKnownDisagreement> AllTagsKnownDisagreements();
