#pragma once

#include "tests/corpus/KnownDisagreements.h"

#include <span>

// Fields of the formats corpus where our record and exiftool's reading
// differ for a known, explained reason; a stale entry fails the check.
std::span<const KnownDisagreement> FormatsDisagreements();
