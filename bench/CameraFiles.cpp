#include "CameraFiles.h"

#include "JpegBuilder.h"

using namespace fixture;

namespace bench {

namespace {

ExifBuilder CameraExif(const CameraShot& shot) {
    ExifBuilder exif(shot.order);
    const int sub = exif.AddDirectory();
    const int interop = exif.AddDirectory();
    const int ifd1 = exif.AddDirectory();

    exif.Ascii(0, 0x010F, shot.make)
        .Ascii(0, 0x0110, shot.model)
        .Short(0, 0x0112, 1)
        .Rational(0, 0x011A, 72, 1)
        .Rational(0, 0x011B, 72, 1)
        .Short(0, 0x0128, 2)
        .Ascii(0, 0x0131, "Firmware 1.02")
        .Ascii(0, 0x0132, shot.dateTime)
        .Short(0, 0x0213, 2)
        .Link(0, 0x8769, sub)
        .Next(0, ifd1);

    exif.Rational(sub, 0x829A, 1, shot.exposureDenominator)
        .Rational(sub, 0x829D, shot.fNumberTenths, 10)
        .Short(sub, 0x8822, 2)
        .Short(sub, 0x8827, shot.iso)
        .Undefined(sub, 0x9000, {'0', '2', '3', '0'})
        .Ascii(sub, 0x9003, shot.dateTime)
        .Ascii(sub, 0x9004, shot.dateTime)
        .Undefined(sub, 0x9101, {1, 2, 3, 0})
        .SRational(sub, 0x9204, 0, 3)
        .Rational(sub, 0x9205, 3, 1)
        .Short(sub, 0x9207, 5)
        .Short(sub, 0x9209, 0x10)
        .Rational(sub, 0x920A, shot.focalLengthTenths, 10);
    if (shot.makerNoteBytes != 0) {
        Bytes note(shot.makerNoteBytes);
        uint32_t x = shot.seed * 2654435761u + 1;
        for (unsigned char& b : note) {
            x = x * 1664525u + 1013904223u;
            b = static_cast<unsigned char>(x >> 24);
        }
        exif.Undefined(sub, 0x927C, note);
    }
    exif.Undefined(sub, 0x9286, Bytes(8, 0))
        .Undefined(sub, 0xA000, {'0', '1', '0', '0'})
        .Short(sub, 0xA001, 1)
        .Short(sub, 0xA002, shot.width)
        .Short(sub, 0xA003, shot.height)
        .Link(sub, 0xA005, interop)
        .Rational(sub, 0xA20E, 4000000, 1478)
        .Rational(sub, 0xA20F, 4000000, 1478)
        .Short(sub, 0xA210, 2);

    exif.Ascii(interop, 0x0001, "R98").Undefined(interop, 0x0002, {'0', '1', '0', '0'});

    exif.Short(ifd1, 0x0103, 6)
        .Rational(ifd1, 0x011A, 72, 1)
        .Rational(ifd1, 0x011B, 72, 1)
        .Short(ifd1, 0x0128, 2)
        .Long(ifd1, 0x0201, 0)
        .Long(ifd1, 0x0202, 0);
    JpegBuilder thumb;
    thumb.Soi().FlatImage(160, 120, 120, 130, 140);
    const uint32_t at = exif.Append(thumb.Data());
    exif.Set(ifd1, 0x0201, exif.U32(at))
        .Set(ifd1, 0x0202, exif.U32(static_cast<uint32_t>(thumb.Data().size())));
    return exif;
}

} // namespace

Bytes CameraHeaders(const CameraShot& shot) {
    JpegBuilder jpeg;
    jpeg.Soi().App0Jfif();
    if (shot.exif)
        jpeg.App1(CameraExif(shot));
    if (!shot.comment.empty())
        jpeg.Comment(shot.comment);
    return jpeg.Data();
}

Bytes CameraFile(const CameraShot& shot) {
    JpegBuilder jpeg;
    jpeg.Raw(CameraHeaders(shot)).FlatImage(shot.width, shot.height, 90, 140, 200);
    return jpeg.Data();
}

} // namespace bench
