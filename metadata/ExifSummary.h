#pragma once

#include <cstdint>

// The decoded metadata of one picture. A plain record: zero (or an empty
// string) means absent. Text fields hold the file's own bytes, always
// terminated.
struct ExifSummary {
    char exifVersion[5];
    char cameraMake[32];
    char cameraModel[40];
    char dateTime[20];
    // EXIF's LensModel, where the camera wrote one (not one of the rows).
    char lensModel[64];
    int32_t height;
    int32_t width;
    int32_t orientation;
    int32_t isColor;
    int32_t encodingProcess;
    int32_t flashUsed;
    float focalLength;
    float exposureTime;
    float fNumber;
    float subjectDistance;
    float ccdWidth;
    float exposureBias;
    int32_t lightSource;
    int32_t meteringMode;
    int32_t exposureProgram;
    int32_t isoEquivalent;
    int32_t jpegQuality;
    float focalPlaneXResolution;
    float focalPlaneYResolution;
    float focalPlaneUnit;
    float xResolution;
    float yResolution;
    float resolutionUnit;
    float brightness;
    char comment[1000];
    // A movie's video sample entry type ("avc1", "hvc1"); empty for a photo.
    char videoCodec[5];
    // Borrowed: points into the reader's copy of the EXIF segment and is
    // valid only while that reader lives.
    const unsigned char* thumbnailData;
    uint32_t thumbnailLength;
    // The GPS directory holds a latitude and a longitude (not shown in the
    // rows; for counting photos with a position without reading every tag).
    bool gpsPosition;
    bool exifValid;
};
