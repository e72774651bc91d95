#include "presentation/query/Query.h"

const char* const kQueryHelp =
    "Words find any tag's value or name, in any case and without accents:\n"
    "  tokyo \"red kite\"\n"
    "Filters contain a text (camera: make: model: lens: software: artist: keyword:,\n"
    "'=' for the whole text) or compare a number: iso:>=800 f:2.8 exposure:<1/250\n"
    "focal:24..70 focal35: width: height: mp:>20 rating:>=4 hour:6..9; dates as\n"
    "precise as typed: date:2023-05 date:2023-05-01..2023-06-30 date:>2024-01-01.\n"
    "Also flash:yes|no gps:yes|no near:LAT,LON,KM format:jpeg|heic|raw|mov|...\n"
    "(format:=raw: that one format) orientation:portrait|landscape|square, and\n"
    "any tag by its name: LensSerialNumber:123 ExifIFD:WhiteBalance:1\n"
    "Terms side by side must all hold; OR between two takes either; -term leaves\n"
    "out; parentheses group: (canon OR nikon) date:2023 -flash:yes";
