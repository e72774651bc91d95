// The plain-XML scanner against expat: whatever the scanner reads, expat must
// read too, and hand over the same elements, attributes and text.
#include "metadata/tags/XmlScanner.h"

#include <expat.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Each event as text, the text between two other events joined.
class Events final : public XmlScanHandler {
public:
    void Start(const char* name, const char** attributes) override {
        Flush();
        m_all += '<';
        m_all += name;
        for (size_t i = 0; attributes[i] != nullptr; i += 2) {
            m_all += '\1';
            m_all += attributes[i];
            m_all += '\2';
            m_all += attributes[i + 1];
        }
        m_all += '\3';
    }
    void End() override {
        Flush();
        m_all += '/';
    }
    void Text(const char* text, int length) override { m_text.append(text, size_t(length)); }
    bool Stopped() const override { return false; }

    const std::string& All() {
        Flush();
        return m_all;
    }

private:
    void Flush() {
        if (!m_text.empty())
            m_all += "\4" + m_text + "\5";
        m_text.clear();
    }
    std::string m_all;
    std::string m_text;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    Events scanned;
    if (!ScanPlainXml(document, scanned))
        return 0;
    XML_Parser parser = XML_ParserCreate(nullptr);
    Events read;
    XML_SetUserData(parser, &read);
    XML_SetElementHandler(
        parser,
        [](void* events, const XML_Char* name, const XML_Char** atts) {
            static_cast<Events*>(events)->Start(name, atts);
        },
        [](void* events, const XML_Char*) { static_cast<Events*>(events)->End(); });
    XML_SetCharacterDataHandler(parser, [](void* events, const XML_Char* s, int n) {
        static_cast<Events*>(events)->Text(s, n);
    });
    const bool ok = XML_Parse(parser, document.data(), int(size), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    if (!ok || scanned.All() != read.All())
        std::abort();
    return 0;
}
