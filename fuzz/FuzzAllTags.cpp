// libFuzzer entry for the tag list: one input goes through every reader of
// it, as a JPEG file (its EXIF, XMP, extended XMP and Photoshop segments
// found by the segment scan), as a TIFF structure in each role (and its
// maker note's lens read alone), as an XMP packet, as IPTC data and as a
// movie. Beyond what the sanitizers catch, the input fails when an entry's
// text is not UTF-8, when more entries are kept than the cap allows, or when a
// kept value is larger than its bounds.

#include "metadata/ByteSource.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/containers/JpegSegments.h"
#include "metadata/makernotes/MakerNotes.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/IptcReader.h"
#include "metadata/tags/QuickTimeEntries.h"
#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tags/TiffTagWalk.h"
#include "metadata/tags/XmpReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void RequireUtf8(const std::string& s) {
    if (!IsValidUtf8(reinterpret_cast<const uint8_t*>(s.data()), s.size()))
        std::abort();
}

void Check(const MetadataCollector& out, size_t cap) {
    if (out.Entries().size() > cap)
        std::abort();
    for (const MetadataEntry& e : out.Entries()) {
        RequireUtf8(e.group);
        RequireUtf8(e.name);
        RequireUtf8(e.text);
        RequireUtf8(RawText(e));
        RequireUtf8(e.value.text);
        if (e.value.numbers.size() > MetadataValue::kMaxKeptNumbers ||
            e.value.bytes.size() > MetadataValue::kMaxKeptBytes)
            std::abort();
    }
    for (const std::string& note : out.Notes())
        RequireUtf8(note);
    if (const auto position = FindGpsPosition(out.Entries()))
        RequireUtf8(GeoUri(*position));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A small cap, so that the cap's own path is reached too.
    constexpr size_t kCap = 2000;
    {
        MetadataCollector out(kCap);
        MemorySource source(data, size);
        LocatedBlocks found;
        if (ScanJpegSegments(source, 0, SourceStream::kToEnd, found)) {
            for (const TiffBlock& block : found.tiff)
                WalkTiffBlock(block.data(), block.size(), TiffRole::Main, out);
            if (!found.xmp.empty())
                ReadXmpPacket(found.xmp.data(), found.xmp.size(), out);
            // Whatever GUID the main packet names, every joined packet is
            // read; each byte of it came from one of the input's.
            for (const ExtendedXmp& extended : found.extendedXmp) {
                if (extended.guid.size() != 32 || extended.packet.size() > size)
                    std::abort();
                ReadXmpPacket(extended.packet.data(), extended.packet.size(), out);
            }
            if (!found.iptc.empty())
                ReadPhotoshopIptc(found.iptc.data(), found.iptc.size(), out);
        }
        Check(out, kCap);
    }
    {
        MetadataCollector out(kCap);
        for (TiffRole role : {TiffRole::Main, TiffRole::Exif, TiffRole::Gps}) {
            WalkTiffBlock(data, size, role, out);
            // The lens alone, as the file list reads it.
            RequireUtf8(MakerNoteLens(data, size, role, out.CameraMake()));
        }
        Check(out, kCap);
    }
    {
        MetadataCollector out(kCap);
        ReadXmpPacket(data, size, out);
        ReadIptcIim(data, size, out);
        ReadPhotoshopIptc(data, size, out);
        Check(out, kCap);
    }
    {
        // As a movie: the QuickTime group of whatever the walk kept.
        MemorySource source(data, size);
        PhotoReader reader(nullptr, &DiscardingSink());
        reader.Read(source);
        MetadataCollector out(kCap);
        ListMovieEntries(reader.Blocks().movie, out);
        Check(out, kCap);
    }
    return 0;
}
