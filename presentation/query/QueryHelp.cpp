#include "presentation/query/Query.h"

const char* const kQueryHelp =
    "Words find any tag's value or name, in any case and without accents: tokyo \"red kite\".\n"
    "Filters: camera: make: model: lens: software: artist: keyword: (contain the text;\n"
    "'=' for the whole text), date:2023-05 (also 2023, 2023-05-14, ranges\n"
    "2023-05-01..2023-06-30, >2024-01-01), iso:>=800, f:2.8, exposure:<1/250, focal:24..70,\n"
    "focal35:, width:, height:, mp:>20, rating:>=4, flash:yes, gps:no, near:LAT,LON,KM,\n"
    "format:jpeg|heic|raw|..., orientation:portrait|landscape|square, and any tag by name\n"
    "(LensSerialNumber:123, ExifIFD:WhiteBalance:1).\n"
    "Compare with > >= < <= or a range a..b. Terms side by side must all hold; OR between\n"
    "two takes either; -term leaves out; parentheses group.";
