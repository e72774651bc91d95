#pragma once

#include <cstddef>

// A parser for the plain XML that XMP packets are almost always written in,
// several times faster than expat on them. It takes only documents it is
// sure about and refuses everything else, well-formed or not, for expat to
// parse instead: a declaration, a DOCTYPE, CDATA sections, entity
// references other than the five predefined ones and character references,
// names beyond ASCII, control characters, U+FFFE and U+FFFF, invalid UTF-8,
// duplicate attributes, unbound or reserved prefixes, text outside the root
// element... For what it takes, it reports the same events expat does with
// namespace processing and triplets (see XML_SetReturnNSTriplet): names as
// "uri<sep>local<sep>prefix", "uri<sep>local" or "local"; attribute values
// with references replaced and white space normalized; namespace
// declarations left out; text with line ends as "\n".

class PlainXmlHandler {
public:
    virtual ~PlainXmlHandler() = default;
    // `atts`: name, value, name, value..., then nullptr.
    virtual void Start(const char* name, const char** atts) = 0;
    virtual void End() = 0;
    virtual void Text(const char* text, int length) = 0;
    // True once the handler wants no more events: the parse is refused.
    virtual bool Stopped() const = 0;
};

struct PlainXmlLimits {
    static constexpr size_t kMaxDepth = 256;
    static constexpr size_t kMaxAttributes = 256;    // of one element
    static constexpr size_t kMaxDocument = 1u << 30; // texts are handed over with int lengths
};

// False when the document is not one this parser takes (the handler may
// have had some events by then), or when the handler stopped it. Not to be
// called again from a handler: each thread keeps one set of working lists.
bool ParsePlainXml(const char* data, size_t size, char separator, PlainXmlHandler& handler);
