#pragma once

#include <QImage>

// The picture turned upright by its EXIF Orientation (1 as stored, 2 mirrored
// left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored
// along the main diagonal, 6 turned a quarter clockwise, 7 mirrored along the
// other diagonal, 8 turned a quarter anticlockwise). Other values leave it.
QImage Upright(const QImage& image, int orientation);

// The EXIF Orientation that turns a picture stored with a movie track's
// rotation (0, 90, 180 or 270 degrees clockwise, as our movie walker reads
// it) upright: 1, 6, 3 or 8; 1 for any other value.
int OrientationOfRotation(int degreesClockwise);
