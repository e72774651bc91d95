#pragma once

#include "presentation/window/PictureDecoder.h"

#include <memory>

// One decoder (with its workers) for a test program's pictures, so each
// test does not start workers of its own.
inline const std::shared_ptr<PictureDecoder>& SharedTestDecoder() {
    static const auto decoder = std::make_shared<PictureDecoder>();
    return decoder;
}
