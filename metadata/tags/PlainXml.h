#pragma once

#include <cstddef>
#include <cstdint>

// A strict reader of the plain XML that XMP packets are written in:
// elements with ASCII names, quoted attributes, text, the five predefined
// entities and character references, comments and processing instructions
// (the xpacket wrapper). Anything else (an XML declaration, a DOCTYPE, CDATA,
// names beyond ASCII, a fault of any kind) makes it give up, and the caller
// reads the packet with expat instead: what it accepts, expat accepts and
// reports alike, element by element, at a fraction of the cost.

class PlainXmlHandler {
public:
    virtual ~PlainXmlHandler() = default;
    // As expat hands them over: the attributes as name, value pairs ended
    // by a null name; values with their references replaced and blanks
    // normalised; text in pieces, line ends as '\n'.
    virtual void Start(const char* name, const char** attributes) = 0;
    virtual void End() = 0;
    virtual void Text(const char* text, int length) = 0;
    // Whether the handler wants the reading given up.
    virtual bool GaveUp() const = 0;
};

struct PlainXmlLimits {
    static constexpr size_t kMaxSize = 64u << 10; // bytes; larger documents are refused
    static constexpr size_t kMaxDepth = 256;      // open elements
    static constexpr size_t kMaxAttributes = 256; // of one element
};

// True when the whole document was read; false when it is not plain XML,
// or the handler gave up, part way through (the caller discards what the
// handler was given).
bool ReadPlainXml(const uint8_t* data, size_t size, PlainXmlHandler& handler);
