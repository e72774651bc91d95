#pragma once

#include <string_view>

// Receives what ScanPlainXml reads, as expat's handlers would without
// namespace processing: names as written, attributes as name and value
// pairs ending in nullptr, values and text with their references replaced
// and their line ends made "\n" (and blanks in values made spaces). Text
// may come in several pieces; none outside the root element.
class XmlScanHandler {
public:
    virtual void Start(const char* name, const char** attributes) = 0;
    virtual void End() = 0;
    virtual void Text(const char* text, int length) = 0;
    // Asked after each call: true to read no further.
    virtual bool Stopped() const = 0;

protected:
    ~XmlScanHandler() = default;
};

// Reads a document of the plain form XMP packets take: UTF-8 without a
// declaration, elements and attributes with ASCII names, text, comments,
// processing instructions, the five predefined entities and character
// references. True when the whole document was read so and the handler
// never stopped. False at the first thing outside that form or that expat
// would refuse (a document type, CDATA, another encoding, a fault): the
// caller forgets what it was handed and reads the document with expat,
// which says what is wrong. Expat reads such packets, and their faults,
// as before; the plain ones cost a fifth of what it takes.
bool ScanPlainXml(std::string_view document, XmlScanHandler& handler);
