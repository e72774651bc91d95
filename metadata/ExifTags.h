#pragma once

// Tag ids of the TIFF and EXIF directories that the readers act on.
namespace ExifTag {

// TIFF (IFD0, IFD1, SubIFDs)
inline constexpr unsigned NewSubfileType = 0x00FE;
inline constexpr unsigned ImageWidth = 0x0100;
inline constexpr unsigned ImageLength = 0x0101;
inline constexpr unsigned Compression = 0x0103;
inline constexpr unsigned Photometric = 0x0106;
inline constexpr unsigned Make = 0x010F;
inline constexpr unsigned Model = 0x0110;
inline constexpr unsigned StripOffsets = 0x0111;
inline constexpr unsigned Orientation = 0x0112;
inline constexpr unsigned StripByteCounts = 0x0117;
inline constexpr unsigned XResolution = 0x011A;
inline constexpr unsigned YResolution = 0x011B;
inline constexpr unsigned ResolutionUnit = 0x0128;
inline constexpr unsigned SubIfds = 0x014A;
inline constexpr unsigned JpegInterchangeFormat = 0x0201;       // thumbnail offset
inline constexpr unsigned JpegInterchangeFormatLength = 0x0202; // thumbnail length
inline constexpr unsigned Xmp = 0x02BC;                         // the XMP packet (TIFF files)
inline constexpr unsigned Iptc = 0x83BB;                        // IPTC-IIM records (TIFF files)
inline constexpr unsigned DngVersion = 0xC612;
inline constexpr unsigned DngPrivateData = 0xC634; // DNG: the original maker note among others

// Pointers to sub-directories
inline constexpr unsigned ExifIfd = 0x8769;
inline constexpr unsigned GpsIfd = 0x8825;
inline constexpr unsigned InteropIfd = 0xA005;

// EXIF
inline constexpr unsigned ExposureTime = 0x829A;
inline constexpr unsigned FNumber = 0x829D;
inline constexpr unsigned ExposureProgram = 0x8822;
inline constexpr unsigned IsoSpeed = 0x8827;
inline constexpr unsigned ExifVersion = 0x9000;
inline constexpr unsigned DateTimeOriginal = 0x9003;
inline constexpr unsigned CompressedBitsPerPixel = 0x9102;
inline constexpr unsigned ShutterSpeedValue = 0x9201;
inline constexpr unsigned ApertureValue = 0x9202;
inline constexpr unsigned BrightnessValue = 0x9203;
inline constexpr unsigned ExposureBiasValue = 0x9204;
inline constexpr unsigned MaxApertureValue = 0x9205;
inline constexpr unsigned SubjectDistance = 0x9206;
inline constexpr unsigned MeteringMode = 0x9207;
inline constexpr unsigned LightSource = 0x9208;
inline constexpr unsigned Flash = 0x9209;
inline constexpr unsigned FocalLength = 0x920A;
inline constexpr unsigned MakerNote = 0x927C;
inline constexpr unsigned UserComment = 0x9286;
inline constexpr unsigned PixelXDimension = 0xA002;
inline constexpr unsigned PixelYDimension = 0xA003;
inline constexpr unsigned FocalPlaneXResolution = 0xA20E;
inline constexpr unsigned FocalPlaneYResolution = 0xA20F;
inline constexpr unsigned FocalPlaneResolutionUnit = 0xA210;
inline constexpr unsigned LensModel = 0xA434;

} // namespace ExifTag
