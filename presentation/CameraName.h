#pragma once

#include <string>
#include <string_view>

// A camera as people write it, from the make and model the file holds:
// the model alone when it already names the maker ("Canon" and
// "Canon EOS 40D" give "Canon EOS 40D", "NIKON CORPORATION" and
// "NIKON D70s" give "NIKON D70s"), else the maker without its company words
// before the model ("OLYMPUS IMAGING CORP." and "E-M5" give "OLYMPUS E-M5").
// Both are taken as UTF-8 and trimmed; empty when both are empty.
std::string CameraName(std::string_view make, std::string_view model);
