#include "presentation/window/PhotoFacts.h"

#include <cstring>

std::shared_ptr<const PhotoFacts> PhotoFacts::Of(const FileReport& report) {
    // Not a photo: nothing of it to count.
    if (report.format == PhotoFormat::Unknown)
        return nullptr;
    auto facts = std::make_shared<PhotoFacts>();
    const ExifSummary& r = report.record;
    std::memcpy(facts->m_cameraMake, r.cameraMake, sizeof r.cameraMake);
    std::memcpy(facts->m_cameraModel, r.cameraModel, sizeof r.cameraModel);
    std::memcpy(facts->m_dateTime, r.dateTime, sizeof r.dateTime);
    facts->m_flashUsed = r.flashUsed;
    facts->m_isoEquivalent = r.isoEquivalent;
    facts->m_focalLength = r.focalLength;
    facts->m_exposureTime = r.exposureTime;
    facts->m_fNumber = r.fNumber;
    facts->m_ccdWidth = r.ccdWidth;
    facts->m_exifValid = r.exifValid;
    facts->m_format = report.format;
    facts->m_hasPosition = report.HasPosition();
    facts->m_lens = report.lens;
    return facts;
}

ExifSummary PhotoFacts::Record() const {
    ExifSummary r;
    std::memset(&r, 0, sizeof r);
    std::memcpy(r.cameraMake, m_cameraMake, sizeof r.cameraMake);
    std::memcpy(r.cameraModel, m_cameraModel, sizeof r.cameraModel);
    std::memcpy(r.dateTime, m_dateTime, sizeof r.dateTime);
    r.flashUsed = m_flashUsed;
    r.isoEquivalent = m_isoEquivalent;
    r.focalLength = m_focalLength;
    r.exposureTime = m_exposureTime;
    r.fNumber = m_fNumber;
    r.ccdWidth = m_ccdWidth;
    r.exifValid = m_exifValid;
    return r;
}
