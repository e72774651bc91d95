#include "bench/CameraFiles.h"

#include "tests/fixtures/CameraPicture.h"

using namespace fixture;

namespace bench {

namespace {

// The note's bytes vary with the seed, as one camera's notes differ from
// another's.
Bytes MakerNote(uint32_t size, uint32_t seed) {
    Bytes note(size);
    uint32_t x = seed * 2654435761u + 1;
    for (unsigned char& b : note) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(x >> 24);
    }
    return note;
}

CameraPicture Picture(const CameraShot& shot) {
    CameraPicture camera;
    camera.order = shot.order;
    camera.comment = shot.comment;
    camera.image = {shot.width, shot.height, 90, 140, 200};
    if (!shot.exif)
        return camera;

    camera.first = FirstDirectory(shot.make, shot.model, 1, 72);
    camera.first[0x0131] = Ascii("Firmware 1.02");
    camera.first[0x0132] = Ascii(shot.dateTime);
    camera.first[0x0213] = Short(2);
    camera.exif = {
        {0x829A, Rational(1, shot.exposureDenominator)},
        {0x829D, Rational(shot.fNumberTenths, 10)},
        {0x8822, Short(2)},
        {0x8827, Short(shot.iso)},
        {0x9000, Undefined({'0', '2', '3', '0'})},
        {0x9003, Ascii(shot.dateTime)},
        {0x9004, Ascii(shot.dateTime)},
        {0x9101, Undefined({1, 2, 3, 0})},
        {0x9204, SRational(0, 3)},
        {0x9205, Rational(3, 1)},
        {0x9207, Short(5)},
        {0x9209, Short(0x10)},
        {0x920A, Rational(shot.focalLengthTenths, 10)},
        {0x9286, Undefined(Bytes(8, 0))},
        {0xA000, Undefined({'0', '1', '0', '0'})},
        {0xA001, Short(1)},
        {0xA002, Short(shot.width)},
        {0xA003, Short(shot.height)},
        {0xA20E, Rational(4000000, 1478)},
        {0xA20F, Rational(4000000, 1478)},
        {0xA210, Short(2)},
    };
    if (shot.makerNoteBytes != 0)
        camera.exif[0x927C] = Undefined(MakerNote(shot.makerNoteBytes, shot.seed));
    camera.interop = {{0x0001, Ascii("R98")}, {0x0002, Undefined({'0', '1', '0', '0'})}};
    camera.thumbnail = {
        {0x0103, Short(6)},
        {0x011A, Rational(72, 1)},
        {0x011B, Rational(72, 1)},
        {0x0128, Short(2)},
    };
    camera.thumbnailJpeg = FlatJpeg({160, 120, 120, 130, 140});
    return camera;
}

} // namespace

Bytes CameraHeaders(const CameraShot& shot) {
    return fixture::CameraHeaders(Picture(shot));
}

Bytes CameraFile(const CameraShot& shot) {
    return CameraJpeg(Picture(shot));
}

} // namespace bench
