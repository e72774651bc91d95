// The plain XML reader hands over what expat hands over, or gives up.
#include "metadata/tags/PlainXml.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <expat.h>
#include <gtest/gtest.h>

using namespace alltagstest;

namespace {

// Elements, attributes and text as one line; adjacent text joined, as
// expat and PlainXml cut it in different places.
struct Events final : PlainXmlHandler {
    void Start(const char* name, const char** atts) override {
        log += std::string("<") + name;
        for (size_t i = 0; atts[i] != nullptr; i += 2)
            log += std::string(" ") + atts[i] + "=[" + atts[i + 1] + "]";
        log += ">";
    }
    void End() override { log += "</>"; }
    void Text(const char* text, int length) override { log.append(text, size_t(length)); }
    bool GaveUp() const override { return false; }
    std::string log;
};

std::string ExpatEvents(const std::string& xml) {
    Events events;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &events);
    XML_SetElementHandler(
        parser,
        [](void* e, const char* n, const char** a) { static_cast<Events*>(e)->Start(n, a); },
        [](void* e, const char*) { static_cast<Events*>(e)->End(); });
    XML_SetCharacterDataHandler(
        parser, [](void* e, const char* s, int n) { static_cast<Events*>(e)->Text(s, n); });
    const bool ok = XML_Parse(parser, xml.data(), int(xml.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok ? events.log : "(refused)";
}

} // namespace

TEST(PlainXml, ReadsWhatExpatReadsAlikeAndGivesUpOnTheRest) {
    const struct {
        const char* xml;
        bool plain;
    } cases[] = {
        {"<a/>", true},
        {"\xEF\xBB\xBF<?xpacket begin='' id='W'?>\n<a x='1' y = \"2\">t</a>\n<?xpacket end?>",
         true},
        {"<a v='&amp;&lt;&gt;&quot;&apos;&#65;&#x42;&#xE9;&#x1F600;'>&#10;&amp;x</a>", true},
        {"<a v='1\t2\n3\r\n4\r5'>l1\r\nl2\rl3\n</a>", true},
        {"<!-- c --><a:b c:d='\xC3\xA9'>\xE2\x82\xAC<b/>]>]</a:b><!--e-->", true},
        {"<a>\xF0\x9F\x98\x80 \x7F</a>", true},
        {"<?xml version='1.0'?><a/>", false}, // a declaration may name another encoding
        {"<!DOCTYPE a><a/>", false},          // left to expat (entities)
        {"<a><![CDATA[x]]></a>", false},      // left to expat
        {"<a\xC3\xA9/>", false},              // a name beyond ASCII
        {"<?a:b x?><a/>", false},             // a colon in a target
        {"<a>&nbsp;</a>", false},             // an entity never declared
        {"<a>&#0;</a>", false},               // not a character
        {"<a>&#xD800;</a>", false},           // a surrogate
        {"<a>]]></a>", false},                // not allowed in text
        {"<!-- a--b --><a/>", false},         // not allowed in a comment
        {"<a/><b/>", false},                  // two roots
        {"x<a/>", false},                     // text outside the root
        {"<a x='1' x='2'/>", false},          // the same attribute twice
        {"<a x='1'y='2'/>", false},           // no blank between them
        {"<a></b>", false},                   // mismatched
        {"<a x='<'/>", false},                // markup in a value
        {"<a>\x01</a>", false},               // a control character
        {"<a>\xC3</a>", false},               // a cut sequence
        {"<a>\xED\xA0\x80</a>", false},       // an encoded surrogate
        {"<a>\xEF\xBF\xBF</a>", false},       // U+FFFF
        {"<a>", false},                       // unclosed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        const std::string xml = c.xml;
        const ExactBuffer buffer(xml);
        Events plain;
        const bool read = ReadPlainXml(buffer.data.get(), buffer.size, plain);
        EXPECT_EQ(read, c.plain);
        if (read) {
            EXPECT_EQ(plain.log, ExpatEvents(xml));
        }
    }
}
