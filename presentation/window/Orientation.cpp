#include "presentation/window/Orientation.h"

#include <QTransform>

namespace {

QImage Turned(const QImage& image, int degrees) {
    return image.transformed(QTransform().rotate(degrees));
}

} // namespace

QImage Upright(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return Turned(image, 180);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return Turned(image, 90).mirrored(true, false);
    case 6:
        return Turned(image, 90);
    case 7:
        return Turned(image, 90).mirrored(false, true);
    case 8:
        return Turned(image, 270);
    default:
        return image;
    }
}

int OrientationOfRotation(int degreesClockwise) {
    switch (degreesClockwise) {
    case 90:
        return 6;
    case 180:
        return 3;
    case 270:
        return 8;
    default:
        return 1;
    }
}
