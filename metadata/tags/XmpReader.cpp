#include "metadata/tags/XmpReader.h"

#include "metadata/tags/TextEncoding.h"
#include "metadata/tags/XmlNamespaces.h"
#include "metadata/tags/XmlScanner.h"

#include <expat.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::string_view kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kXml = XmlNamespaces::kXmlUri;

struct KnownNamespace {
    std::string_view uri;
    const char* prefix;
};

constexpr KnownNamespace kKnown[] = {
    {"http://purl.org/dc/elements/1.1/", "dc"},
    {"http://ns.adobe.com/xap/1.0/", "xmp"},
    {"http://ns.adobe.com/xap/1.0/mm/", "xmpMM"},
    {"http://ns.adobe.com/xap/1.0/rights/", "xmpRights"},
    {"http://ns.adobe.com/xap/1.0/bj/", "xmpBJ"},
    {"http://ns.adobe.com/xap/1.0/t/pg/", "xmpTPg"},
    {"http://ns.adobe.com/xap/1.0/g/", "xmpG"},
    {"http://ns.adobe.com/xmp/1.0/DynamicMedia/", "xmpDM"},
    {"http://ns.adobe.com/xmp/note/", "xmpNote"},
    {"http://ns.adobe.com/xap/1.0/sType/ResourceEvent#", "stEvt"},
    {"http://ns.adobe.com/xap/1.0/sType/ResourceRef#", "stRef"},
    {"http://ns.adobe.com/xap/1.0/sType/Dimensions#", "stDim"},
    {"http://ns.adobe.com/xap/1.0/sType/Version#", "stVer"},
    {"http://ns.adobe.com/xap/1.0/sType/Job#", "stJob"},
    {"http://ns.adobe.com/photoshop/1.0/", "photoshop"},
    {"http://ns.adobe.com/exif/1.0/", "exif"},
    {"http://ns.adobe.com/exif/1.0/aux/", "aux"},
    {"http://cipa.jp/exif/1.0/", "exifEX"},
    {"http://ns.adobe.com/tiff/1.0/", "tiff"},
    {"http://ns.adobe.com/camera-raw-settings/1.0/", "crs"},
    {"http://ns.adobe.com/lightroom/1.0/", "lr"},
    {"http://ns.adobe.com/pdf/1.3/", "pdf"},
    {"http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/", "Iptc4xmpCore"},
    {"http://iptc.org/std/Iptc4xmpExt/2008-02-29/", "Iptc4xmpExt"},
    {"http://ns.useplus.org/ldf/xmp/1.0/", "plus"},
    {"http://ns.google.com/photos/1.0/panorama/", "GPano"},
    {"http://ns.adobe.com/hdr-gain-map/1.0/", "hdrgm"},
    {"http://ns.adobe.com/xmp/1.0/Rights/", "xmpRights"},
    {kRdf, "rdf"},
    {kXml, "xml"},
};

enum class Kind : uint8_t { Outside, Rdf, Description, Property, Container, Item, Ignored };

struct Frame {
    Kind kind = Kind::Outside;
    std::string path;   // the property's flattened name
    std::string group;  // "XMP-dc" of the top-level property
    char container = 0; // 'B', 'S' or 'A' for rdf:Bag, rdf:Seq, rdf:Alt
    int items = 0;
    bool hasChildren = false; // elements or field attributes: no value of its own
    std::string text;
    bool textTruncated = false;
};

// The prefix a name is listed with: the usual one of a well-known
// namespace, else the declared one ("ns" for a default namespace); empty
// for a name in no namespace.
std::string_view ListedPrefix(const XmlName& name) {
    if (name.uri.empty())
        return {};
    const char* known = WellKnownXmpPrefix(name.uri);
    return known ? known : (name.prefix.empty() ? "ns" : name.prefix);
}

// The name as listed, "exif:FNumber", from its listed prefix.
std::string Qualified(std::string_view prefix, std::string_view local) {
    if (prefix.empty())
        return std::string(local);
    std::string qualified;
    qualified.reserve(prefix.size() + 1 + local.size());
    qualified.append(prefix).append(1, ':').append(local);
    return qualified;
}

// The group of a top-level property, "XMP-exif", from its listed prefix;
// "XMP" for a name in no namespace.
std::string GroupOf(std::string_view prefix) {
    if (prefix.empty())
        return "XMP";
    std::string group;
    group.reserve(4 + prefix.size());
    group.append("XMP-").append(prefix);
    return group;
}

// What a namespace-aware parser would have refused the element for, in
// its words.
XML_Error ParserError(XmlNamespaceFault fault) {
    switch (fault) {
    case XmlNamespaceFault::InvalidName:
        return XML_ERROR_INVALID_TOKEN;
    case XmlNamespaceFault::UnboundPrefix:
        return XML_ERROR_UNBOUND_PREFIX;
    case XmlNamespaceFault::UndeclaringPrefix:
        return XML_ERROR_UNDECLARING_PREFIX;
    case XmlNamespaceFault::ReservedPrefixXml:
        return XML_ERROR_RESERVED_PREFIX_XML;
    case XmlNamespaceFault::ReservedPrefixXmlns:
        return XML_ERROR_RESERVED_PREFIX_XMLNS;
    case XmlNamespaceFault::ReservedNamespaceUri:
        return XML_ERROR_RESERVED_NAMESPACE_URI;
    case XmlNamespaceFault::DuplicateAttribute:
        return XML_ERROR_DUPLICATE_ATTRIBUTE;
    default:
        return XML_ERROR_NONE;
    }
}

// A character of base64's alphabet, or its padding.
bool IsBase64(uint8_t c) {
    const uint8_t letter = c | 0x20; // 'A'-'Z' onto 'a'-'z', and nothing else there
    return (uint8_t(letter - 'a') < 26) | (uint8_t(c - '0') < 10) | (c == '+') | (c == '/') |
           (c == '=');
}

#if defined(__SSE2__)
// 0xFF for each of the 16 bytes at `p` that is a base64 character.
__m128i Base64Bytes(const uint8_t* p) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i letter = _mm_or_si128(c, _mm_set1_epi8(0x20));
    // Signed compares: bytes above ASCII are negative, in neither range.
    const auto within = [](__m128i x, char low, char high) {
        return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(low - 1))),
                             _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(high + 1))));
    };
    // '/' comes just before the digits.
    __m128i ok = _mm_or_si128(within(letter, 'a', 'z'), within(c, '/', '9'));
    ok = _mm_or_si128(ok, _mm_cmpeq_epi8(c, _mm_set1_epi8('+')));
    return _mm_or_si128(ok, _mm_cmpeq_epi8(c, _mm_set1_epi8('=')));
}
#endif

// Whether the kBytes bytes at `p` (16 or 64) are all base64 characters:
// IsBase64 sixteen at a time.
template <size_t kBytes> bool AllBase64(const uint8_t* p) {
    static_assert(kBytes == 16 || kBytes == 64);
#if defined(__SSE2__)
    __m128i ok = Base64Bytes(p);
    for (size_t k = 16; k < kBytes; k += 16)
        ok = _mm_and_si128(ok, Base64Bytes(p + k));
    return _mm_movemask_epi8(ok) == 0xFFFF;
#else
    bool all = true;
    for (size_t k = 0; k < kBytes; ++k)
        all &= IsBase64(p[k]);
    return all;
#endif
}

// How many bytes, at most `n`, are base64 characters: from `p` on when
// kForward, else those before `p`. Blocks of 64, then of 16, are judged
// whole: a depth map's run is a megabyte.
template <bool kForward> size_t Base64Run(const uint8_t* p, size_t n) {
    size_t i = 0;
    const auto block = [p](size_t from, size_t size) {
        return kForward ? p + from : p - from - size;
    };
    while (n - i >= 64 && AllBase64<64>(block(i, 64)))
        i += 64;
    while (n - i >= 16 && AllBase64<16>(block(i, 16)))
        i += 16;
    const auto at = [p](size_t k) { return kForward ? p[k] : p[-static_cast<ptrdiff_t>(k) - 1]; };
    while (i < n && IsBase64(at(i)))
        ++i;
    return i;
}

bool IsSpace(uint8_t c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// What stands for a payload in its value: its size decoded where it is base64.
std::string PayloadNote(const uint8_t* run, size_t n) {
    if (n % 4 != 0)
        return "(" + std::to_string(n) + " characters)";
    const size_t padding = size_t(run[n - 1] == '=') + size_t(run[n - 2] == '=');
    return "(" + std::to_string(n / 4 * 3 - padding) + " bytes, base64)";
}

// Writers leave kilobytes of white space before the trailer
// ("<?xpacket end"), room to edit the packet in place; expat would read it a
// character at a time. [body, trailer) is that padding, if any: only its
// line breaks are read.
struct Padding {
    size_t body;    // where it starts
    size_t trailer; // where it ends
    size_t lines;   // its line feeds
};

Padding FindPadding(const uint8_t* data, size_t size) {
    Padding padding{size, size, 0};
    constexpr size_t kLeastPadding = 256;
    // The trailer ends the packet (after the trailing blanks are cut).
    constexpr size_t kTrailerRoom = 64;
    const size_t from = size > kTrailerRoom ? size - kTrailerRoom : 0;
    const std::string_view tail(reinterpret_cast<const char*>(data) + from, size - from);
    const size_t found = tail.rfind("<?xpacket");
    if (found == std::string_view::npos)
        return padding;
    const size_t at = from + found;
    size_t start = at;
    size_t lines = 0;
    while (start > 0) {
        // Runs of spaces, eight at a time.
        uint64_t eight = 0;
        if (start >= 8)
            std::memcpy(&eight, data + start - 8, 8);
        if (eight == 0x2020202020202020u) {
            start -= 8;
            continue;
        }
        if (!IsSpace(data[start - 1]))
            break;
        lines += data[--start] == '\n' ? 1 : 0;
    }
    if (at - start >= kLeastPadding)
        padding = {start, at, lines};
    return padding;
}

// Depth maps and second images ride in XMP as base64 runs of hundreds of
// kilobytes, longer than any value we keep. Appends `data` to `room` with a
// note of each such run's size in its place: the entry says what it holds
// instead of a cut prefix nobody can decode, and the bulk is never
// tokenized. The run has no markup or line break in it.
//
// Such a run covers every kMaxValue-th byte, so only those are looked at
// until one is base64; packets without a payload cost a few probes.
void AppendWithoutPayloads(const uint8_t* data, size_t size, std::string& room) {
    constexpr size_t kLongest = XmpLimits::kMaxValue;
    const auto append = [&room, data](size_t from, size_t to) {
        room.append(reinterpret_cast<const char*>(data) + from, to - from);
    };
    size_t copied = 0;
    size_t i = 0; // no long run starts before i
    while (size - i > kLongest) {
        const size_t probe = i + kLongest;
        if (!IsBase64(data[probe])) {
            i = probe + 1;
            continue;
        }
        const size_t start = probe - Base64Run<false>(data + probe, probe - i);
        const size_t end = probe + 1 + Base64Run<true>(data + probe + 1, size - probe - 1);
        if (end - start > kLongest) {
            append(copied, start);
            room += PayloadNote(data + start, end - start);
            copied = end;
        }
        i = end;
    }
    append(copied, size);
}

// The packet as it is read, built in `room`: what the parsers would only
// spend time on is left out, and what they read stays well formed with its
// line numbers right.
std::string_view ReadablePacket(const uint8_t* data, size_t size, std::string& room) {
    room.clear();
    const Padding padding = FindPadding(data, size);
    AppendWithoutPayloads(data, padding.body, room);
    // In the padding's place, only its line breaks.
    room.append(padding.lines, '\n');
    AppendWithoutPayloads(data + padding.trailer, size - padding.trailer, room);
    return room;
}

std::string_view Clip(const char* value, bool& truncated) {
    const size_t n = std::strlen(value);
    truncated = n > XmpLimits::kMaxValue;
    return std::string_view(value, truncated ? XmpLimits::kMaxValue : n);
}

// Creating an expat parser costs about as much as parsing a camera's
// packet, so each thread keeps one and resets it between packets. Its hash
// salt is drawn once per thread instead of at every reset; packets larger
// than kMaxReusedPacket get a parser of their own, so that the kept one does
// not hold on to a large buffer.
class ParserCache {
public:
    static constexpr size_t kMaxReusedPacket = 256u << 10;

    ParserCache() = default;
    ~ParserCache() {
        if (m_parser)
            XML_ParserFree(m_parser);
    }
    ParserCache(const ParserCache&) = delete;
    ParserCache& operator=(const ParserCache&) = delete;

    // A parser in its initial state, or nullptr when none can be made.
    XML_Parser Take() {
        if (m_parser != nullptr && XML_ParserReset(m_parser, nullptr) == XML_TRUE) {
            XML_SetHashSalt(m_parser, m_salt);
            return std::exchange(m_parser, nullptr);
        }
        if (m_parser != nullptr)
            XML_ParserFree(std::exchange(m_parser, nullptr));
        // Without expat's namespace processing: XmlNamespaces resolves the
        // names, at a fraction of its cost.
        XML_Parser parser = XML_ParserCreate(nullptr);
        if (parser != nullptr) {
            // Random, as expat draws its own: packets must not be able to
            // aim at collisions in its hash tables.
            if (m_salt == 0)
                m_salt = static_cast<unsigned long>(arc4random()) << 31 ^ arc4random() ^ 1;
            XML_SetHashSalt(parser, m_salt);
        }
        return parser;
    }
    void Give(XML_Parser parser, size_t packetSize) {
        if (m_parser == nullptr && packetSize <= kMaxReusedPacket)
            m_parser = parser;
        else
            XML_ParserFree(parser);
    }

private:
    XML_Parser m_parser = nullptr;
    unsigned long m_salt = 0;
};

thread_local ParserCache t_parsers;

// Flattens the packet as the scanner or expat hands over its elements.
class XmpParser final : public XmlScanHandler {
public:
    explicit XmpParser(MetadataCollector& out) : m_out(out) {
        m_frames.reserve(16); // packets nest a few levels deep
    }
    ~XmpParser() {
        if (m_parser)
            t_parsers.Give(m_parser, m_size);
    }
    XmpParser(const XmpParser&) = delete;
    XmpParser& operator=(const XmpParser&) = delete;

    // A packet of the plain form, read without expat: false when it is not
    // one, or when the parse would stop (the caller then forgets what this
    // parser listed and reads the packet with a new one's Parse).
    bool Scan(std::string_view packet) {
        m_scanning = true;
        return ScanPlainXml(packet, *this) && !m_leftToExpat;
    }
    bool Parse(std::string_view packet);

    void Start(const char* rawName, const char** atts) override;
    void End() override;
    void Text(const char* s, int len) override;
    bool Stopped() const override { return m_leftToExpat; }

private:
    static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** atts) {
        static_cast<XmpParser*>(self)->Start(name, atts);
    }
    static void XMLCALL OnEnd(void* self, const XML_Char*) { static_cast<XmpParser*>(self)->End(); }
    static void XMLCALL OnText(void* self, const XML_Char* s, int len) {
        static_cast<XmpParser*>(self)->Text(s, len);
    }
    static void XMLCALL OnEntity(void* self, const XML_Char*, int, const XML_Char*, int,
                                 const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
        static_cast<XmpParser*>(self)->Stop("entity declarations are refused");
    }

    static void XMLCALL OnInstruction(void* self, const XML_Char* target, const XML_Char*) {
        // A namespace-aware parser takes no colon in a target.
        if (std::strchr(target, ':') != nullptr)
            static_cast<XmpParser*>(self)->Refuse(XmlNamespaceFault::InvalidName, nullptr);
    }
    // The element's and its attributes' names resolved into m_name and
    // m_atts; false (and the parse stopped) on a fault.
    bool ResolveNames(const char* rawName, const char** atts);
    void Stop(const char* reason);
    // Expat's report of a fault made as a namespace-aware expat made it.
    void BadNameBefore(XML_Error& code, XML_Size& line) const;
    // Stops as expat would have on the element being started; `badName`
    // is the first name of a wrong form, if any.
    void Refuse(XmlNamespaceFault fault, const char* badName);
    // The line of `name` in the start tag being read.
    XML_Size LineOfName(const char* name) const;
    void Emit(std::string&& group, std::string&& path, std::string_view value, bool truncated);
    // Field attributes of a description or property element.
    void AttributeFields(const Frame& frame, bool& any);
    // The value of the element's attribute, or nullptr.
    const char* Attribute(std::string_view uri, std::string_view local) const;

    MetadataCollector& m_out;
    // Scanning: whatever would stop the parse leaves the packet to expat,
    // which tells it in its words and at its line.
    bool m_scanning = false;
    bool m_leftToExpat = false;
    XML_Parser m_parser = nullptr;
    size_t m_size = 0; // of the packet parsed
    std::vector<Frame> m_frames;
    std::string m_stopReason;
    // A namespace fault in expat's words, and where.
    XML_Error m_fault = XML_ERROR_NONE;
    XML_Size m_faultLine = 0;
    XmlNamespaces m_namespaces;
    // The element being started and its attributes (declarations left
    // out), their names resolved once.
    XmlName m_name;
    struct SplitAttribute {
        XmlName name;
        const char* value;
    };
    std::vector<SplitAttribute> m_atts;
    std::vector<const XmlName*> m_prefixed; // room for the duplicate check
};

void XmpParser::Stop(const char* reason) {
    if (m_scanning) {
        m_leftToExpat = true;
        return;
    }
    if (m_stopReason.empty())
        m_stopReason = reason;
    if (m_parser != nullptr)
        XML_StopParser(m_parser, XML_FALSE);
}

void XmpParser::Emit(std::string&& group, std::string&& path, std::string_view value,
                     bool truncated) {
    MetadataEntry* added = m_out.Append();
    if (added == nullptr) {
        Stop("too many entries");
        return;
    }
    MetadataEntry& e = *added;
    e.group = std::move(group);
    e.id = -1;
    e.name = std::move(path);
    e.count = 1;
    e.value.kind = MetadataValue::Kind::Text;
    // Both readers hand over valid UTF-8; only a value cut short may end
    // inside a character.
    if (truncated)
        e.value.text = RepairUtf8(reinterpret_cast<const uint8_t*>(value.data()), value.size());
    else
        e.value.text = value;
    e.value.truncated = truncated;
    e.text = e.value.text;
}

void XmpParser::AttributeFields(const Frame& frame, bool& any) {
    // An element's fields mostly share one namespace: its prefix is looked
    // up once (the scope does not change meanwhile).
    const XmlName* last = nullptr;
    std::string_view prefix;
    for (const SplitAttribute& a : m_atts) {
        const XmlName& n = a.name;
        if (n.uri.empty() || n.uri == kRdf || n.uri == kXml)
            continue; // about, parseType, resource, lang...: syntax, not properties
        if (last == nullptr || n.uri.data() != last->uri.data() || n.prefix != last->prefix)
            prefix = ListedPrefix(n);
        last = &n;
        std::string qualified = Qualified(prefix, n.local);
        std::string group = frame.path.empty() ? GroupOf(prefix) : frame.group;
        std::string path = frame.path.empty() ? std::move(qualified) : frame.path + "/" + qualified;
        bool truncated;
        const std::string_view value = Clip(a.value, truncated);
        Emit(std::move(group), std::move(path), value, truncated);
        any = true;
    }
}

XML_Size XmpParser::LineOfName(const char* name) const {
    const XML_Size line = XML_GetCurrentLineNumber(m_parser);
    int offset = 0, size = 0;
    const char* context = XML_GetInputContext(m_parser, &offset, &size);
    if (context == nullptr || offset < 0 || size < offset)
        return line;
    const std::string_view tag(context + offset, static_cast<size_t>(size - offset));
    const std::string_view wanted(name);
    // The name where it stands as a name: after '<' or a blank.
    size_t at = 0;
    while ((at = tag.find(wanted, at + 1)) != std::string_view::npos)
        if (tag[at - 1] == '<' || IsSpace(static_cast<uint8_t>(tag[at - 1])))
            return line + static_cast<XML_Size>(std::count(tag.begin(), tag.begin() + at, '\n'));
    return line;
}

void XmpParser::Refuse(XmlNamespaceFault fault, const char* badName) {
    if (m_scanning) {
        m_leftToExpat = true;
        return;
    }
    if (fault == XmlNamespaceFault::TooManyDeclarations) {
        Stop("too many namespace declarations");
        return;
    }
    if (m_fault == XML_ERROR_NONE && m_stopReason.empty()) {
        m_fault = ParserError(fault);
        // A name of a wrong form is told where it stands, as expat's
        // tokenizer would; the other faults at the tag.
        m_faultLine = badName != nullptr ? LineOfName(badName) : XML_GetCurrentLineNumber(m_parser);
    }
    XML_StopParser(m_parser, XML_FALSE);
}

// In the order a namespace-aware parser checks: the names' form, the
// declarations, the attributes' prefixes and duplicates, the element's.
bool XmpParser::ResolveNames(const char* rawName, const char** atts) {
    const char* badName = XmlNamespaces::IsQualifiedName(rawName) ? nullptr : rawName;
    for (size_t i = 0; atts[i] != nullptr && atts[i + 1] != nullptr && !badName; i += 2)
        if (!XmlNamespaces::IsQualifiedName(atts[i]))
            badName = atts[i];
    XmlNamespaceFault fault = badName ? XmlNamespaceFault::InvalidName : XmlNamespaceFault::None;
    const XmlNamespaceFault declared = m_namespaces.Open(atts);
    if (fault == XmlNamespaceFault::None)
        fault = declared;
    m_atts.clear();
    m_prefixed.clear();
    for (size_t i = 0; atts[i] != nullptr && atts[i + 1] != nullptr; i += 2) {
        if (fault != XmlNamespaceFault::None)
            break;
        if (XmlNamespaces::IsDeclaration(atts[i]))
            continue;
        SplitAttribute& a = m_atts.emplace_back();
        a.value = atts[i + 1];
        fault = m_namespaces.ResolveAttribute(atts[i], a.name);
    }
    for (const SplitAttribute& a : m_atts)
        if (!a.name.prefix.empty())
            m_prefixed.push_back(&a.name);
    if (fault == XmlNamespaceFault::None && m_prefixed.size() > 1 && m_namespaces.Aliased() &&
        HasDuplicateAttribute(m_prefixed))
        fault = XmlNamespaceFault::DuplicateAttribute;
    if (fault == XmlNamespaceFault::None)
        fault = m_namespaces.ResolveElement(rawName, m_name);
    if (fault == XmlNamespaceFault::None)
        return true;
    Refuse(fault, badName);
    return false;
}

const char* XmpParser::Attribute(std::string_view uri, std::string_view local) const {
    for (const SplitAttribute& a : m_atts)
        if (a.name.uri == uri && a.name.local == local)
            return a.value;
    return nullptr;
}

void XmpParser::Start(const char* rawName, const char** atts) {
    if (m_frames.size() >= XmpLimits::kMaxDepth) {
        Stop("elements nested too deeply");
        return;
    }
    if (!ResolveNames(rawName, atts)) {
        m_frames.emplace_back().kind = Kind::Ignored; // closed with its scope
        return;
    }
    const XmlName& n = m_name;
    Frame* parent = m_frames.empty() ? nullptr : &m_frames.back();
    const Kind parentKind = parent ? parent->kind : Kind::Outside;
    if (parent)
        parent->hasChildren = true;
    Frame f;
    const bool rdf = n.uri == kRdf;

    if (rdf && n.local == "RDF") {
        f.kind = Kind::Rdf;
    } else if (rdf && n.local == "Description") {
        if (parentKind == Kind::Rdf || parentKind == Kind::Outside) {
            f.kind = Kind::Description;
        } else if (parentKind == Kind::Property || parentKind == Kind::Item) {
            f.kind = Kind::Description; // a structure's fields follow
            f.path = parent->path;
            f.group = parent->group;
        } else {
            f.kind = Kind::Ignored;
        }
        if (f.kind == Kind::Description) {
            bool any = false;
            AttributeFields(f, any);
        }
    } else if (rdf && (n.local == "Bag" || n.local == "Seq" || n.local == "Alt") &&
               parentKind == Kind::Property) {
        f.kind = Kind::Container;
        f.container = n.local[0];
        f.path = parent->path;
        f.group = parent->group;
    } else if (rdf && n.local == "li") {
        if (parentKind == Kind::Container) {
            f.kind = Kind::Item;
            const int index = ++parent->items;
            const char* lang = Attribute(kXml, "lang");
            std::string label = parent->container == 'A' && lang && *lang ? std::string(lang)
                                                                          : std::to_string(index);
            f.path = parent->path + "[" + label + "]";
            f.group = parent->group;
            if (const char* resource = Attribute(kRdf, "resource"))
                f.text = Clip(resource, f.textTruncated);
            AttributeFields(f, f.hasChildren);
        } else {
            f.kind = Kind::Ignored;
        }
    } else if (parentKind == Kind::Description || parentKind == Kind::Property ||
               parentKind == Kind::Item) {
        // A property, or a field of the structure its parent is.
        f.kind = Kind::Property;
        const std::string_view prefix = ListedPrefix(n);
        std::string qualified = Qualified(prefix, n.local);
        if (parent->path.empty()) {
            f.group = GroupOf(prefix);
            f.path = std::move(qualified);
        } else {
            f.path = parent->path + "/" + qualified;
            f.group = parent->group;
        }
        if (const char* resource = Attribute(kRdf, "resource"))
            f.text = Clip(resource, f.textTruncated);
        AttributeFields(f, f.hasChildren);
    } else if (parentKind == Kind::Outside) {
        f.kind = Kind::Outside; // x:xmpmeta and other wrappers
    } else {
        f.kind = Kind::Ignored;
    }
    m_frames.push_back(std::move(f));
}

void XmpParser::End() {
    if (m_frames.empty())
        return;
    Frame& f = m_frames.back();
    if ((f.kind == Kind::Property || f.kind == Kind::Item) && !f.hasChildren)
        Emit(std::move(f.group), std::move(f.path), f.text, f.textTruncated);
    m_frames.pop_back();
    m_namespaces.Close();
}

void XmpParser::Text(const char* s, int len) {
    if (m_frames.empty() || len <= 0)
        return;
    Frame& f = m_frames.back();
    if (f.kind != Kind::Property && f.kind != Kind::Item)
        return;
    const size_t room = XmpLimits::kMaxValue - f.text.size();
    const size_t n = static_cast<size_t>(len);
    if (n > room)
        f.textTruncated = true;
    f.text.append(s, n < room ? n : room);
}

bool XmpParser::Parse(std::string_view packet) {
    m_parser = t_parsers.Take();
    m_size = packet.size();
    if (m_parser == nullptr) {
        m_out.Note("XMP: no parser");
        return false;
    }
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(m_parser, OnText);
    XML_SetEntityDeclHandler(m_parser, OnEntity);
    XML_SetProcessingInstructionHandler(m_parser, OnInstruction);
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
    const XML_Status status =
        XML_Parse(m_parser, packet.data(), static_cast<int>(packet.size()), XML_TRUE);
    if (!m_stopReason.empty()) {
        m_out.Note("XMP: " + m_stopReason);
        return false;
    }
    if (m_fault != XML_ERROR_NONE) {
        m_out.Note(std::string("XMP: ") + XML_ErrorString(m_fault) + " at line " +
                   std::to_string(m_faultLine));
        return false;
    }
    if (status != XML_STATUS_OK) {
        XML_Error code = XML_GetErrorCode(m_parser);
        XML_Size line = XML_GetCurrentLineNumber(m_parser);
        BadNameBefore(code, line);
        m_out.Note(std::string("XMP: ") + XML_ErrorString(code) + " at line " +
                   std::to_string(line));
        return false;
    }
    return true;
}

// Expat without namespaces reads on past a name of the tag that a
// namespace-aware parser stops at ("x:", "a:1", ":a"), and finds a fault
// further on or none of the same kind: the name is told instead, as it was.
void XmpParser::BadNameBefore(XML_Error& code, XML_Size& line) const {
    int offset = 0, size = 0;
    const char* context = XML_GetInputContext(m_parser, &offset, &size);
    if (context == nullptr || offset <= 0 || size < offset)
        return;
    const char* const fault = context + offset;
    // A mismatched end tag is told at its name; other faults inside the tag
    // (which may be a '<' too).
    const bool endTag = code == XML_ERROR_TAG_MISMATCH;
    const char* tag = fault - 1;
    while (tag > context && *tag != '<')
        --tag;
    if (*tag != '<')
        return;
    const char* const limit = endTag ? context + size : fault;
    const char* p = tag + 1;
    p += p < limit && (*p == '/' || *p == '?') ? 1 : 0;
    const bool instruction = p > tag + 1 && p[-1] == '?';
    // An end tag's name is only compared with its start tag's; a colon
    // cannot start it.
    if (p > tag + 1 && p[-1] == '/') {
        if (p < limit && *p == ':')
            code = XML_ERROR_INVALID_TOKEN;
        return;
    }
    const auto nameByte = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || static_cast<unsigned>((u | 0x20) - 'a') < 26u ||
               static_cast<unsigned>(u - '0') < 10u || c == '_' || c == '-' || c == '.' || c == ':';
    };
    // Names and quoted values, up to the fault; a processing instruction's
    // target only.
    while (p < fault) {
        if (*p == '>')
            return; // the fault is past this tag
        if (*p == '"' || *p == '\'') {
            const char* close = static_cast<const char*>(
                std::memchr(p + 1, *p, static_cast<size_t>(fault - p - 1)));
            p = close != nullptr ? close + 1 : fault;
            continue;
        }
        if (!nameByte(*p) || *p == '-' || *p == '.' || (*p >= '0' && *p <= '9')) {
            ++p;
            continue;
        }
        const char* start = p;
        while (p < fault && nameByte(*p))
            ++p;
        if (!XmlNamespaces::IsQualifiedName(std::string_view(start, size_t(p - start)))) {
            code = XML_ERROR_INVALID_TOKEN;
            // Line breaks: CR LF, CR or LF.
            for (const char* q = start; q < fault; ++q)
                line -= *q == '\r' || (*q == '\n' && (q == start || q[-1] != '\r')) ? 1 : 0;
            return;
        }
        if (instruction)
            return;
    }
}

} // namespace

const char* WellKnownXmpPrefix(std::string_view uri) {
    for (const KnownNamespace& k : kKnown)
        if (uri == k.uri)
            return k.prefix;
    return nullptr;
}

std::string ExtendedXmpGuid(const std::vector<MetadataEntry>& entries, size_t first) {
    for (size_t i = first; i < entries.size(); ++i)
        if (entries[i].name == "xmpNote:HasExtendedXMP")
            return entries[i].value.text;
    return {};
}

bool ReadXmpPacket(const uint8_t* data, size_t size, MetadataCollector& out) {
    if (data == nullptr || size == 0) {
        out.Note("XMP: empty packet");
        return false;
    }
    if (size > XmpLimits::kMaxPacket) {
        out.Note("XMP: packet of " + std::to_string(size) + " bytes is too large");
        return false;
    }
    // Packets are often padded with zeros or white space after the trailer.
    while (size > 0 && (data[size - 1] == 0 || data[size - 1] == ' ' || data[size - 1] == '\n' ||
                        data[size - 1] == '\r' || data[size - 1] == '\t'))
        --size;
    // Each thread keeps the room for its packets' text, unless a packet
    // made it large.
    thread_local std::string room;
    const std::string_view packet = ReadablePacket(data, size, room);
    const MetadataCollector::Mark before = out.Marked();
    bool read = XmpParser(out).Scan(packet);
    if (!read) {
        out.RollBack(before);
        read = XmpParser(out).Parse(packet);
    }
    if (room.capacity() > ParserCache::kMaxReusedPacket)
        std::string().swap(room);
    return read;
}
