#pragma once

#include <string>

// The steps a photographer counts in, each value put on the nearest (on a
// logarithmic scale, as stops are): focal lengths on the usual prime and
// zoom marks, apertures in thirds of a stop, ISO speeds and exposure times
// in full stops. The values are finite and positive; a step is an index
// that orders as the values do.

int FocalStep(double millimetres);
std::string FocalStepLabel(int step); // "35 mm"

int ApertureStep(double fNumber);
std::string ApertureStepLabel(int step); // "f/2.8", "f/2", "f/11"

int IsoStep(double iso);
std::string IsoStepLabel(int step); // "ISO 400"

int ExposureStep(double seconds);
std::string ExposureStepLabel(int step); // "1/250 s", "1 s", "30 s"
