// The plain XML parser against expat: whatever it takes must give expat's
// events, and what it is unsure of must be left to expat.
#include "metadata/tags/PlainXml.h"
#include "metadata/tags/XmpReader.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace alltagstest;

namespace {

constexpr char kSeparator = '\x01';

// The events as one text; texts that follow one another are joined, as
// expat cuts them where it likes.
class Recorder final : public PlainXmlHandler {
public:
    void Start(const char* name, const char** atts) override {
        Flush();
        m_log += "<";
        m_log += name;
        for (size_t i = 0; atts[i] != nullptr; i += 2)
            m_log += std::string(" ") + atts[i] + "=[" + atts[i + 1] + "]";
        m_log += ">\n";
        ++m_starts;
    }
    void End() override {
        Flush();
        m_log += "</>\n";
    }
    void Text(const char* text, int length) override { m_text.append(text, size_t(length)); }
    bool Stopped() const override { return m_stopAfter >= 0 && m_starts >= m_stopAfter; }

    std::string Log() {
        Flush();
        return m_log;
    }
    void StopAfter(int starts) { m_stopAfter = starts; }

private:
    void Flush() {
        if (!m_text.empty())
            m_log += "text[" + m_text + "]\n";
        m_text.clear();
    }
    std::string m_log;
    std::string m_text;
    int m_starts = 0;
    int m_stopAfter = -1;
};

struct Outcome {
    bool ok;
    std::string log;
};

Outcome Expat(const std::string& xml) {
    Recorder recorder;
    XML_Parser parser = XML_ParserCreateNS(nullptr, kSeparator);
    XML_SetReturnNSTriplet(parser, 1);
    XML_SetUserData(parser, &recorder);
    XML_SetElementHandler(
        parser,
        [](void* r, const XML_Char* name, const XML_Char** atts) {
            static_cast<Recorder*>(r)->Start(name, atts);
        },
        [](void* r, const XML_Char*) { static_cast<Recorder*>(r)->End(); });
    XML_SetCharacterDataHandler(parser, [](void* r, const XML_Char* s, int len) {
        static_cast<Recorder*>(r)->Text(s, len);
    });
    const bool ok = XML_Parse(parser, xml.data(), int(xml.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return {ok, recorder.Log()};
}

Outcome Plain(const std::string& xml) {
    Recorder recorder;
    const bool ok = ParsePlainXml(xml.data(), xml.size(), kSeparator, recorder);
    return {ok, recorder.Log()};
}

// When the plain parser takes a document, expat must take it too and give
// the same events.
void ExpectAgreement(const std::string& xml) {
    const Outcome plain = Plain(xml);
    if (!plain.ok)
        return;
    const Outcome expat = Expat(xml);
    EXPECT_TRUE(expat.ok) << xml;
    EXPECT_EQ(plain.log, expat.log) << xml;
}

const std::string kPacket =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<!-- written by hand -->\n"
    "<x:xmpmeta xmlns:x='adobe:ns:meta/' x:xmptk='Test 1.0'>\r\n"
    " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
    "    xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\" tiff:Make = \"Can&amp;on\tR&#x35;\r\nX\"\n"
    "    tiff:Model='&lt;EOS&gt; &#10;&quot;&apos;'>\n"
    "   <dc:subject><rdf:Bag><rdf:li>harbour</rdf:li><rdf:li>boat &#233;t&#xE9;</rdf:li>"
    "<rdf:li/></rdf:Bag></dc:subject>\n"
    "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Caf\xC3\xA9 \r\nline\rend</rdf:li>"
    "</rdf:Alt></dc:title>\n"
    "   <dc:creator xmlns:dc=\"urn:other\"><?pi inside?>A<!-- c -->B</dc:creator>\n"
    "   <plain xmlns=\"urn:default\"><inner a=\"1\"/></plain >\n"
    "  </rdf:Description>\n"
    " </rdf:RDF>\n"
    "</x:xmpmeta>\n"
    "<?xpacket end=\"w\"?>";

TEST(PlainXml, TakesAPacketAndGivesExpatsEvents) {
    const Outcome plain = Plain(kPacket);
    ASSERT_TRUE(plain.ok);
    const Outcome expat = Expat(kPacket);
    ASSERT_TRUE(expat.ok);
    EXPECT_EQ(plain.log, expat.log);
    // A few of the events spelled out, so that a shared mistake shows too.
    EXPECT_NE(plain.log.find("http://ns.adobe.com/tiff/1.0/\x01Make\x01tiff=[Can&on R5 X]"),
              std::string::npos);
    EXPECT_NE(plain.log.find("=[<EOS> \n\"']"), std::string::npos);
    EXPECT_NE(plain.log.find("text[Caf\xC3\xA9 \nline\nend]"), std::string::npos);
    EXPECT_NE(plain.log.find("<urn:default\x01plain>"), std::string::npos);
    EXPECT_NE(plain.log.find("<urn:other\x01"
                             "creator\x01"
                             "dc>"),
              std::string::npos);
}

TEST(PlainXml, LeavesToExpatWhatItIsUnsureOf) {
    const std::string root = "<a xmlns:p='urn:p'>";
    const std::vector<std::string> refused = {
        "<?xml version='1.0' encoding='ISO-8859-1'?><a/>",
        "<!DOCTYPE a><a/>",
        "<a><![CDATA[x]]></a>",
        "<a>&nbsp;</a>",
        "<a>&#0;</a>",
        "<a>&#xD800;</a>",
        "<a>x]]>y</a>",
        "<a>\x01</a>",
        "<a>\xC3</a>",
        "<a>\xEF\xBF\xBF</a>",
        "<\xC3\xA9/>",
        "<a b='1' b='2'/>",
        root + "<b p:c='1' q:c='2' xmlns:q='urn:p'/></a>",
        "<p:a/>",
        "<a xmlns:p=''/>",
        "<a xmlns=''/>",
        "<a xmlns:xml='urn:x'/>",
        "<xmlns:a/>",
        "<a></b>",
        "<a>",
        "<a/>text",
        "<a/><b/>",
        "text<a/>",
        "<a><!-- x -- y --></a>",
        "<a b='<'/>",
        "<a b=1/>",
        "<a b='1'c='2'/>",
        "\xEF\xBB\xBF<a/>",
        "",
    };
    for (const std::string& xml : refused)
        EXPECT_FALSE(Plain(xml).ok) << xml;
}

// Every truncation of the packet and every byte of it replaced by one that
// matters to XML: the plain parser may refuse any of them, but never take
// one that expat reads otherwise.
TEST(PlainXml, AgreesWithExpatOnEveryMutationOfAPacket) {
    static const char kBytes[] = {'<', '>', '&', '"', '\'', ':', ' ', '\r', '\n',   '/',
                                  '=', 'x', ';', '-', '!',  '?', ']', '#',  '\x80', '\0'};
    size_t taken = 0;
    for (size_t at = 0; at <= kPacket.size(); ++at) {
        ExpectAgreement(kPacket.substr(0, at));
        if (at == kPacket.size())
            break;
        for (char b : kBytes) {
            std::string mutated = kPacket;
            mutated[at] = b;
            ExpectAgreement(mutated);
            taken += Plain(mutated).ok;
        }
        std::string shorter = kPacket;
        shorter.erase(at, 1);
        ExpectAgreement(shorter);
    }
    // Most replacements inside texts and values leave a document it takes.
    EXPECT_GT(taken, kPacket.size());
}

TEST(PlainXml, AHandlerThatStopsEndsTheParse) {
    Recorder recorder;
    recorder.StopAfter(2);
    EXPECT_FALSE(ParsePlainXml(kPacket.data(), kPacket.size(), kSeparator, recorder));
}

// A packet refused after some of its properties were listed is read again
// by expat, and each property is listed once.
TEST(PlainXml, APacketRefusedLateIsListedOnce) {
    const std::string xml = "<x:xmpmeta xmlns:x='adobe:ns:meta/'>"
                            "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                            "<rdf:Description xmlns:dc='http://purl.org/dc/elements/1.1/' "
                            "dc:format='image/jpeg'><dc:source>a</dc:source>"
                            "<dc:rights><![CDATA[b]]></dc:rights></rdf:Description>"
                            "</rdf:RDF></x:xmpmeta>";
    ASSERT_FALSE(Plain(xml).ok);
    const ExactBuffer buffer(xml);
    MetadataCollector out;
    ASSERT_TRUE(ReadXmpPacket(buffer.data.get(), buffer.size, out));
    std::vector<std::string> names;
    for (const MetadataEntry& e : out.Entries())
        names.push_back(std::string(e.name) + "=" + e.value.text);
    EXPECT_EQ(names,
              (std::vector<std::string>{"dc:format=image/jpeg", "dc:source=a", "dc:rights=b"}));
}

} // namespace
