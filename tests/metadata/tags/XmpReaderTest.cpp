// XMP packets flattened to properties, and hostile XML refused.
#include "metadata/tags/XmpReader.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace alltagstest;

namespace {

struct Read {
    explicit Read(const std::string& xml) : buffer(xml) {
        ok = ReadXmpPacket(buffer.data.get(), buffer.size, out);
    }
    std::string Value(const std::string& group, const std::string& name) const {
        const MetadataEntry* e = FindNamed(out.Entries(), group, name);
        return e ? e->value.text : "<missing>";
    }
    bool Noted(const std::string& part) const {
        for (const std::string& n : out.Notes())
            if (n.find(part) != std::string::npos)
                return true;
        return false;
    }
    ExactBuffer buffer;
    MetadataCollector out;
    bool ok = false;
};

std::string Packet(const std::string& body, const std::string& namespaces = "") {
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" "
           "xmlns:xmpMM=\"http://ns.adobe.com/xap/1.0/mm/\" "
           "xmlns:stEvt=\"http://ns.adobe.com/xap/1.0/sType/ResourceEvent#\" " +
           namespaces + body + "</rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

} // namespace

TEST(XmpReader, AttributesElementsArraysAlternativesAndStructures) {
    const Read r(Packet(
        "xmp:Rating=\"4\" xmp:CreatorTool=\"Camera 1.0\">"
        "<dc:subject><rdf:Bag><rdf:li>sea</rdf:li><rdf:li>boat</rdf:li></rdf:Bag></dc:subject>"
        "<dc:creator><rdf:Seq><rdf:li>Ann</rdf:li></rdf:Seq></dc:creator>"
        "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Harbour</rdf:li>"
        "<rdf:li xml:lang=\"fr-FR\">Port</rdf:li></rdf:Alt></dc:title>"
        "<xmp:Label>Red &amp; blue</xmp:Label>"
        "<xmpMM:DerivedFrom rdf:parseType=\"Resource\"><stEvt:action>saved</stEvt:action>"
        "</xmpMM:DerivedFrom>"
        "<xmpMM:History><rdf:Seq><rdf:li><rdf:Description stEvt:when=\"2024\">"
        "<stEvt:action>created</stEvt:action></rdf:Description></rdf:li></rdf:Seq>"
        "</xmpMM:History>"
        "<xmpMM:Ingredients rdf:resource=\"urn:x\"/>"
        "</rdf:Description>"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Value("XMP-xmp", "xmp:Rating"), "4");
    EXPECT_EQ(r.Value("XMP-xmp", "xmp:CreatorTool"), "Camera 1.0");
    EXPECT_EQ(r.Value("XMP-dc", "dc:subject[1]"), "sea");
    EXPECT_EQ(r.Value("XMP-dc", "dc:subject[2]"), "boat");
    EXPECT_EQ(r.Value("XMP-dc", "dc:creator[1]"), "Ann");
    EXPECT_EQ(r.Value("XMP-dc", "dc:title[x-default]"), "Harbour");
    EXPECT_EQ(r.Value("XMP-dc", "dc:title[fr-FR]"), "Port");
    EXPECT_EQ(r.Value("XMP-xmp", "xmp:Label"), "Red & blue");
    EXPECT_EQ(r.Value("XMP-xmpMM", "xmpMM:DerivedFrom/stEvt:action"), "saved");
    EXPECT_EQ(r.Value("XMP-xmpMM", "xmpMM:History[1]/stEvt:when"), "2024");
    EXPECT_EQ(r.Value("XMP-xmpMM", "xmpMM:History[1]/stEvt:action"), "created");
    EXPECT_EQ(r.Value("XMP-xmpMM", "xmpMM:Ingredients"), "urn:x");
    // Containers, structures and rdf:about are not properties themselves.
    EXPECT_EQ(FindNamed(r.out.Entries(), "XMP-dc", "dc:subject"), nullptr);
    EXPECT_EQ(FindNamed(r.out.Entries(), "XMP-xmpMM", "xmpMM:History"), nullptr);
    EXPECT_EQ(r.out.Entries().size(), 12u);
    for (const MetadataEntry& e : r.out.Entries()) {
        EXPECT_EQ(e.id, -1);
        EXPECT_EQ(e.value.kind, MetadataValue::Kind::Text);
    }
}

TEST(XmpReader, WellKnownNamespacesGetTheirUsualPrefix) {
    const Read r(Packet("x1:Make=\"Canon\" other:Thing=\"t\">"
                        "<x1:Model>EOS</x1:Model></rdf:Description>",
                        "xmlns:x1=\"http://ns.adobe.com/tiff/1.0/\" "
                        "xmlns:other=\"http://example.com/ns/\" "));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Value("XMP-tiff", "tiff:Make"), "Canon");
    EXPECT_EQ(r.Value("XMP-tiff", "tiff:Model"), "EOS");
    EXPECT_EQ(r.Value("XMP-other", "other:Thing"), "t");
}

TEST(XmpReader, EntityDeclarationsAreRefused) {
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                               "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">&b;</x:xmpmeta>";
    const Read r(laughs);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.Noted("entity declarations are refused"));
    EXPECT_TRUE(r.out.Entries().empty());

    const Read external("<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                        "<x>&e;</x>");
    EXPECT_FALSE(external.ok);
    EXPECT_TRUE(external.Noted("entity declarations are refused"));
}

TEST(XmpReader, DeepNestingStopsTheParse) {
    std::string deep = Packet("><dc:format>", "");
    deep.resize(deep.find("<dc:format>"));
    std::string open, close;
    for (int i = 0; i < 5000; ++i) {
        open += "<dc:a>";
        close = "</dc:a>" + close;
    }
    const Read r(deep + open + "x" + close + "</rdf:Description></rdf:RDF></x:xmpmeta>");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.Noted("nested too deeply"));
}

TEST(XmpReader, HugeValuesAreCut) {
    std::string huge;
    while (huge.size() < XmpLimits::kMaxValue * 3)
        huge += "words ";
    const Read r(Packet("xmp:Label=\"" + huge + "\"><xmp:Nickname>" + huge +
                        "</xmp:Nickname></rdf:Description>"));
    ASSERT_TRUE(r.ok);
    for (const char* name : {"xmp:Label", "xmp:Nickname"}) {
        const MetadataEntry* e = FindNamed(r.out.Entries(), "XMP-xmp", name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->value.text.size(), XmpLimits::kMaxValue);
        EXPECT_TRUE(e->value.truncated);
    }
    // A cut inside a character leaves no half of it: the value stays UTF-8.
    std::string accents = "a";
    while (accents.size() < XmpLimits::kMaxValue + 2)
        accents += "\xC3\xA9";
    const Read cut(Packet("xmp:Label=\"" + accents + "\"></rdf:Description>"));
    const MetadataEntry* label = FindNamed(cut.out.Entries(), "XMP-xmp", "xmp:Label");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->value.truncated);
    EXPECT_EQ(label->value.text.substr(label->value.text.size() - 5), "\xC3\xA9\xEF\xBF\xBD");
}

// A depth map's or a second image's base64 is listed by its size, in an
// attribute or an element, and what follows it is read as before.
TEST(XmpReader, HugeBase64PayloadsAreListedByTheirSize) {
    const std::string run = std::string(XmpLimits::kMaxValue + 2, 'A') + "==";
    const std::string odd(XmpLimits::kMaxValue + 3, 'f');
    const Read r(Packet("xmp:Label=\"" + run + "\" xmp:Rating=\"4\"><xmp:Nickname>" + odd +
                        "</xmp:Nickname><xmp:Nickname2>x</xmp:Nickname2></rdf:Description>"));
    ASSERT_TRUE(r.ok);
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"xmp:Label", "(" + std::to_string((run.size() / 4) * 3 - 2) + " bytes, base64)"},
        {"xmp:Nickname", "(" + std::to_string(odd.size()) + " characters)"},
        {"xmp:Rating", "4"},
        {"xmp:Nickname2", "x"},
    };
    for (const auto& c : cases) {
        const MetadataEntry* e = FindNamed(r.out.Entries(), "XMP-xmp", c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->value.text, c.text) << c.name;
        EXPECT_FALSE(e->value.truncated) << c.name;
    }
}

// Only every kMaxValue-th byte is looked at until one is base64: a run just
// over the limit is found wherever it starts, one at the limit is a value.
TEST(XmpReader, PayloadsAreFoundWhereverTheyStart) {
    const size_t limit = XmpLimits::kMaxValue;
    const struct {
        size_t before; // characters of another value ahead of the run
        size_t run;
        bool shortened;
    } cases[] = {
        {0, limit + 1, true},
        {1, limit + 1, true},
        {limit - 1, limit + 1, true},
        {limit, limit + 1, true},
        {limit + 7, 3 * limit + 1, true},
        {0, limit, false},
        {limit / 2, limit, false},
    };
    for (const auto& c : cases) {
        const std::string run(c.run, 'Q');
        const Read r(Packet("xmp:Nickname=\"" + std::string(c.before, '-') + "\"><xmp:Label>" +
                            run + "</xmp:Label></rdf:Description>"));
        SCOPED_TRACE(testing::Message() << c.before << " then " << c.run);
        ASSERT_TRUE(r.ok);
        const std::string expected =
            c.shortened ? "(" + std::to_string(c.run) + " characters)" : run;
        EXPECT_EQ(r.Value("XMP-xmp", "xmp:Label"), expected);
    }
}

// Every character of base64's alphabet carries a run on, and one just
// outside each of its ranges ends it: the halves, each within the limit, are
// one value kept whole.
TEST(XmpReader, PayloadsAreRunsOfTheBase64AlphabetOnly) {
    const size_t half = XmpLimits::kMaxValue / 2 + 1;
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string run;
    while (run.size() < 2 * half)
        run += alphabet;
    run.resize(2 * half);
    for (const char* breaker : {"", ".", ":", "@", "[", "`", "{", ",", "-", "\x7F", "\xC3\xA9"}) {
        const std::string text = run.substr(0, half) + breaker + run.substr(half);
        const Read r(
            Packet("xmp:Nickname=\"x\"><xmp:Label>" + text + "</xmp:Label></rdf:Description>"));
        SCOPED_TRACE(testing::Message() << "breaker '" << breaker << "'");
        ASSERT_TRUE(r.ok);
        const std::string value = r.Value("XMP-xmp", "xmp:Label");
        // Broken, the run is a long value like any other, cut at the limit.
        const std::string expected = *breaker == '\0'
                                         ? "(" + std::to_string(run.size()) + " characters)"
                                         : text.substr(0, 16);
        EXPECT_EQ(value.substr(0, expected.size()), expected) << value.size();
    }
}

// The blanks writers leave before the trailer are passed over, and a fault
// after them is still told at its own line.
TEST(XmpReader, PaddingBeforeTheTrailerKeepsLineNumbers) {
    std::string padding;
    for (int line = 0; line < 40; ++line)
        padding += std::string(99, ' ') + "\n";
    const std::string packet = Packet("xmp:Rating=\"2\"></rdf:Description>");
    const size_t trailer = packet.rfind("<?xpacket");
    const std::string padded = packet.substr(0, trailer) + padding + packet.substr(trailer);
    const Read good(padded);
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.Value("XMP-xmp", "xmp:Rating"), "2");

    const Read bad(padded + "<oops");
    EXPECT_FALSE(bad.ok);
    const auto line = std::count(padded.begin(), padded.end(), '\n') + 1;
    EXPECT_TRUE(bad.Noted("at line " + std::to_string(line)))
        << testing::PrintToString(bad.out.Notes());
}

TEST(XmpReader, NotXmlIsRefusedAndKeepsWhatCameBefore) {
    EXPECT_FALSE(Read("").ok);
    EXPECT_FALSE(Read("this is not XML at all").ok);
    EXPECT_FALSE(Read(std::string("\0\0\0\0", 4)).ok);
    const Read cut(Packet("xmp:Rating=\"3\"><dc:format>image/jpeg</dc:format>")
                       .substr(0, Packet("xmp:Rating=\"3\"><dc:format>image/jpeg</dc:format>")
                                      .find("</rdf:RDF>")));
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.Value("XMP-xmp", "xmp:Rating"), "3");
    EXPECT_EQ(cut.Value("XMP-dc", "dc:format"), "image/jpeg");
}

// Packets the quick scanner gives up on part way are read by expat from the
// start: what the scanner had listed is not listed twice, nor its notes.
TEST(XmpReader, PacketsLeftToExpatPartWayAreListedOnce) {
    const std::string body = "xmp:Rating=\"3\"><dc:format>image/jpeg</dc:format>";
    for (const std::string& late : {std::string("<dc:source><![CDATA[a<b]]></dc:source>"),
                                    std::string("<dc:source>&bad;</dc:source>")}) {
        SCOPED_TRACE(late);
        const Read r(Packet(body + late + "</rdf:Description>"));
        EXPECT_EQ(r.out.Entries().size(), late.find("CDATA") != std::string::npos ? 3u : 2u);
        EXPECT_EQ(r.Value("XMP-xmp", "xmp:Rating"), "3");
        EXPECT_EQ(r.out.Notes().size(), r.ok ? 0u : 1u);
    }
    MetadataCollector capped(1);
    const std::string packet = Packet(body + "</rdf:Description>");
    const ExactBuffer buffer(packet);
    EXPECT_FALSE(ReadXmpPacket(buffer.data.get(), buffer.size, capped));
    EXPECT_EQ(capped.Entries().size(), 1u);
    EXPECT_TRUE(capped.Truncated());
}

TEST(XmpReader, PaddingAfterThePacketIsAccepted) {
    const Read r(Packet("xmp:Rating=\"1\"></rdf:Description>") + std::string(2000, ' ') +
                 std::string(10, '\0'));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.Value("XMP-xmp", "xmp:Rating"), "1");
}

// Prefixes are resolved by the reader itself: a redeclared prefix holds
// inside its element only, a default namespace names unprefixed elements
// (not attributes), and what a namespace-aware parser refuses stops the
// parse with its words, keeping the properties met before.
TEST(XmpReader, PrefixesResolveByTheDeclarationsInScope) {
    const std::string ns = "xmlns:a=\"http://example.com/a/\" ";
    const struct {
        std::string body;
        std::string listed; // group|name=value, in order; the note after '!'
    } cases[] = {
        {"a:X=\"1\"><a:Y xmlns:a=\"http://purl.org/dc/elements/1.1/\">2</a:Y><a:Z>3</a:Z>",
         "XMP-a|a:X=1 XMP-dc|dc:Y=2 XMP-a|a:Z=3"},
        {"><Y xmlns=\"http://ns.adobe.com/xap/1.0/\" plain=\"p\">2</Y>", "XMP-xmp|xmp:Y=2"},
        {"><Y xmlns=\"http://example.com/d/\">2</Y><Z xmlns=\"\">3</Z>", "XMP-ns|ns:Y=2 XMP|Z=3"},
        {"a:X=\"1\"><b:Y>2</b:Y><a:Z>3</a:Z>", "XMP-a|a:X=1 !unbound prefix at line 3"},
        {"a:X=\"1\" b:Y=\"2\">", "!unbound prefix at line 2"},
        {"><a:Y xmlns:a=\"\">2</a:Y>", "!must not undeclare prefix at line 3"},
        {"><a:Y xmlns:xml=\"urn:x\">2</a:Y>", "!reserved prefix (xml) must not be undeclared or "
                                              "bound to another namespace name at line 3"},
        {"><a:Y xmlns:xmlns=\"urn:x\">2</a:Y>", "!reserved prefix (xmlns) must not be declared or "
                                                "undeclared at line 3"},
        {"><a:Y xmlns:b=\"http://www.w3.org/XML/1998/namespace\">2</a:Y>",
         "!prefix must not be bound to one of the reserved namespace names at line 3"},
        {"><a:Y xmlns:b=\"http://example.com/a/\" a:q=\"1\" b:q=\"2\">2</a:Y>",
         "!duplicate attribute at line 3"},
        {"><a:Y>1</a:Y>\n<a:Z\n a:b:c=\"1\">2</a:Z>",
         "XMP-a|a:Y=1 !not well-formed (invalid token) at line 5"},
        {"><a:Y xml:lang=\"en\">1</a:Y>", "XMP-a|a:Y=1"},
        // A name refused before a fault further on in its tag is told.
        {"><a:Y>1</a:Y><a:Z\r b:=\"1\"\n c>2</a:Z>",
         "XMP-a|a:Y=1 !not well-formed (invalid token) at line 4"},
        {"><a:Y>1</:Y>", "!not well-formed (invalid token) at line 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const Read r(Packet(c.body + "</rdf:Description>", "\n" + ns));
        std::string listed;
        for (const MetadataEntry& e : r.out.Entries())
            listed += (listed.empty() ? "" : " ") + e.group + "|" + std::string(e.name.View()) +
                      "=" + e.value.text;
        for (const std::string& note : r.out.Notes())
            listed += (listed.empty() ? "!" : " !") + note.substr(note.find(' ') + 1);
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(r.ok, c.listed.find('!') == std::string::npos);
    }
}
