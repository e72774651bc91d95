#pragma once

// JPEG marker codes (the byte after 0xFF) that the readers act on.
namespace JpegMarker {

inline constexpr int Fill = 0xFF; // also the byte before every marker code
inline constexpr int StartOfImage = 0xD8;
inline constexpr int EndOfImage = 0xD9;
inline constexpr int StartOfScan = 0xDA;
inline constexpr int App0 = 0xE0;  // JFIF
inline constexpr int App1 = 0xE1;  // EXIF, XMP
inline constexpr int App13 = 0xED; // Photoshop image resources (IPTC)
inline constexpr int Comment = 0xFE;

// Frame headers: every SOFn but the DHT (C4), JPG (C8) and DAC (CC) codes.
constexpr bool IsFrameHeader(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace JpegMarker
