#include "presentation/CameraName.h"

#include <algorithm>
#include <array>

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

// `text` begins with the word `word`: followed by its end, a blank or '-'.
bool StartsWithWord(std::string_view text, std::string_view word) {
    return !word.empty() && text.size() >= word.size() &&
           EqualsIgnoringCase(text.substr(0, word.size()), word) &&
           (text.size() == word.size() || text[word.size()] == ' ' || text[word.size()] == '-');
}

// Words that name the company rather than the brand, written without the
// points and commas that may end them.
bool IsCompanyWord(std::string_view word) {
    while (!word.empty() && (word.back() == '.' || word.back() == ','))
        word.remove_suffix(1);
    static constexpr std::array<std::string_view, 19> kWords = {
        "corporation", "corp",    "co",      "co.,ltd",  "co,ltd",   "ltd",   "inc",
        "company",     "imaging", "optical", "computer", "electric", "photo", "camera",
        "systems",     "ag",      "ab",      "gmbh",     "s.a"};
    for (const std::string_view company : kWords) {
        if (EqualsIgnoringCase(word, company))
            return true;
    }
    return false;
}

// The make up to its first company word ("OLYMPUS IMAGING CORP." gives
// "OLYMPUS"); the whole make when that would leave nothing.
std::string_view Brand(std::string_view make) {
    size_t end = make.find(' ');
    while (end != std::string_view::npos) {
        const size_t next = make.find(' ', end + 1);
        const std::string_view word =
            make.substr(end + 1, next == std::string_view::npos ? next : next - end - 1);
        if (IsCompanyWord(word)) {
            std::string_view brand = Trimmed(make.substr(0, end));
            while (!brand.empty() && brand.back() == ',')
                brand.remove_suffix(1);
            return brand;
        }
        end = next;
    }
    return make;
}

} // namespace

std::string CameraName(std::string_view make, std::string_view model) {
    make = Trimmed(make);
    model = Trimmed(model);
    if (model.empty())
        return std::string(Brand(make));
    if (make.empty())
        return std::string(model);
    const std::string_view brand = Brand(make);
    if (StartsWithWord(model, make))
        return std::string(model);
    // "EASTMAN KODAK COMPANY" and "KODAK Z740 ZOOM DIGITAL CAMERA".
    for (size_t start = 0; start < brand.size();) {
        const size_t end = std::min(brand.find(' ', start), brand.size());
        if (end > start && StartsWithWord(model, brand.substr(start, end - start)))
            return std::string(model);
        start = end + 1;
    }
    std::string name(brand);
    name += ' ';
    name += model;
    return name;
}
