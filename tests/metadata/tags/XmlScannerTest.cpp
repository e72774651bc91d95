// The plain-XML scanner hands over what expat would, or leaves the document
// to expat.
#include "metadata/tags/XmlScanner.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Events as one line each; text between other events joined, as expat may
// hand it over in any pieces.
class Recorder final : public XmlScanHandler {
public:
    void Start(const char* name, const char** attributes) override {
        Flush();
        std::string line = std::string("<") + name;
        for (size_t i = 0; attributes[i] != nullptr; i += 2)
            line += std::string(" ") + attributes[i] + "=[" + attributes[i + 1] + "]";
        events.push_back(line);
    }
    void End() override {
        Flush();
        events.push_back("/");
    }
    void Text(const char* text, int length) override { m_text.append(text, size_t(length)); }
    bool Stopped() const override { return false; }

    std::vector<std::string> Finished() {
        Flush();
        return events;
    }

    std::vector<std::string> events;

private:
    void Flush() {
        if (!m_text.empty())
            events.push_back("text[" + m_text + "]");
        m_text.clear();
    }
    std::string m_text;
};

struct ExpatRead {
    bool ok = false;
    std::vector<std::string> events;
};

ExpatRead ReadWithExpat(const std::string& document) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    Recorder recorder;
    XML_SetUserData(parser, &recorder);
    XML_SetElementHandler(
        parser,
        [](void* r, const XML_Char* name, const XML_Char** atts) {
            static_cast<Recorder*>(r)->Start(name, atts);
        },
        [](void* r, const XML_Char*) { static_cast<Recorder*>(r)->End(); });
    XML_SetCharacterDataHandler(
        parser, [](void* r, const XML_Char* s, int n) { static_cast<Recorder*>(r)->Text(s, n); });
    ExpatRead read;
    read.ok = XML_Parse(parser, document.data(), int(document.size()), XML_TRUE) == XML_STATUS_OK;
    read.events = recorder.Finished();
    XML_ParserFree(parser);
    return read;
}

// What the scanner reads must be what expat reads; what expat refuses the
// scanner must leave to it.
void ExpectAsExpat(const std::string& document, bool scanned) {
    Recorder recorder;
    const bool read = ScanPlainXml(document, recorder);
    const ExpatRead expat = ReadWithExpat(document);
    EXPECT_EQ(read, scanned) << document;
    if (read) {
        EXPECT_TRUE(expat.ok) << document;
        EXPECT_EQ(recorder.Finished(), expat.events) << document;
    }
}

const std::string kPacket =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n <rdf:RDF "
    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <rdf:Description rdf:about='' xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
    "dc:format=\"image/jpeg\">\n"
    "   <dc:subject><rdf:Bag><rdf:li>caf\xC3\xA9 &amp; co</rdf:li><rdf:li>r&#233;d</rdf:li>"
    "</rdf:Bag></dc:subject>\n"
    "   <!-- a comment -->\n"
    "  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";

} // namespace

TEST(XmlScanner, ReadsPlainDocumentsAsExpatDoes) {
    const char* const plain[] = {
        "<a/>",
        "<a b = \"1\" c='2' />",
        "<a b=\"x\ty\r\nz\rw\nv\"/>",
        "<a b=\"&#10;&#x41;&lt;&gt;&quot;&apos;\">&#233;&#x1F600;&#13;</a>",
        "<a>1\r\n2\r3\n4\t5</a>",
        "<!-- c -->\n<a><!-- in -->t<!---->u</a>\n<!-- after -->",
        "<a b='\"' c=\"'>'\">x &gt; y > z</a >",
        "<a>caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80 \xC2\x85</a>",
        "<?pi?><?pi data ?><a><?in x?></a>",
        "<a.b-c_d:e f:g='1'><x/><y></y></a.b-c_d:e>",
        "\n \t<a>]</a>",
    };
    for (const char* document : plain)
        ExpectAsExpat(document, true);
    ExpectAsExpat(kPacket, true);
}

TEST(XmlScanner, LeavesEverythingElseToExpat) {
    const char* const others[] = {
        "<?xml version=\"1.0\"?><a/>", // a declaration
        "<!DOCTYPE a><a/>",
        "<a><![CDATA[x]]></a>",
        "\xEF\xBB\xBF<a/>", // a byte order mark
        "<caf\xC3\xA9/>",   // a name not in ASCII
        "<?XmL x?><a/>",
        "<?a:b?><a/>",
        // Faults.
        "<a>&nbsp;</a>",
        "<a b=\"1\" b=\"2\"/>",
        "<a b=\"1\"c=\"2\"/>",
        "<a b=\"<\"/>",
        "<a b=1/>",
        "<a><b></a>",
        "<a>]]></a>",
        "<a>\x01</a>",
        "<a>\xC3\x28</a>",
        "<a>\xED\xA0\x80</a>",
        "<a>\xEF\xBF\xBE</a>",
        "<a>\xF4\x90\x80\x80</a>",
        "<a>\xC0\xAF</a>",
        "<a>&#0;</a>",
        "<a>&#xD800;</a>",
        "<a>&#1114112;</a>",
        "<a>&#x;</a>",
        "<a/><b/>",
        "text<a/>",
        "<a>",
        "",
        "<!-- a -- b --><a/>",
        "<a/ >",
        "< a/>",
        "</a>",
    };
    for (const char* document : others)
        ExpectAsExpat(document, false);
}

// Every byte of a packet changed to each of the bytes that matter to XML:
// whatever the scanner then reads, it reads as expat does.
TEST(XmlScanner, ChangedPacketsReadAsExpatReadsThem) {
    const std::string bytes("<>&\"'\r\n\t]-?/=!;#x\0\x80\xC3 a", 23);
    int scanned = 0;
    for (size_t i = 0; i < kPacket.size(); ++i) {
        for (const char b : bytes) {
            std::string changed = kPacket;
            changed[i] = b;
            Recorder recorder;
            if (!ScanPlainXml(changed, recorder))
                continue;
            ++scanned;
            const ExpatRead expat = ReadWithExpat(changed);
            ASSERT_TRUE(expat.ok) << i << " " << int(b);
            ASSERT_EQ(recorder.Finished(), expat.events) << i << " " << int(b);
        }
    }
    EXPECT_GT(scanned, 1000);
}
