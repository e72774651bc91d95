#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The namespace declarations in scope while XML is read by a parser that
// does no namespace processing of its own (expat's costs a keyed hash of
// every expanded name): the xmlns attributes of the open elements, and the
// names they resolve. It refuses what a namespace-aware XML 1.0 parser
// refuses: a prefix never declared, a prefix declared empty, the reserved
// prefixes and URIs misused, a name with a second colon or an empty part.

// A name resolved; the views hold until the scope next changes.
struct XmlName {
    std::string_view uri;    // empty: no namespace
    std::string_view local;  // the name after the prefix
    std::string_view prefix; // as written; empty when there is none
};

enum class XmlNamespaceFault : uint8_t {
    None,
    InvalidName,          // "a:b:c", ":a", "a:", "a:1"
    UnboundPrefix,        // a prefix no open element declares
    UndeclaringPrefix,    // xmlns:a=""
    ReservedPrefixXml,    // xml bound to another URI
    ReservedPrefixXmlns,  // xmlns:xmlns=...
    ReservedNamespaceUri, // another prefix bound to xml's URI, any to xmlns's
    DuplicateAttribute,   // two attributes of one element expand alike
    TooManyDeclarations,  // more than kMaxBindings in scope
};

class XmlNamespaces {
public:
    static constexpr std::string_view kXmlUri = "http://www.w3.org/XML/1998/namespace";
    // Declarations in scope at once; real packets have a few dozen.
    static constexpr size_t kMaxBindings = 1024;

    // "xmlns" or "xmlns:p": a declaration, not an attribute.
    static bool IsDeclaration(std::string_view attribute);
    // Whether a name is well formed for namespaces: at most one colon, with
    // a name on both sides of it.
    static bool IsQualifiedName(std::string_view name);

    // Opens an element's scope with the declarations among its attributes
    // (name, value pairs ended by a null name, as expat hands them over).
    // The scope opens even on a fault, so that Close stays paired.
    XmlNamespaceFault Open(const char* const* attributes);
    // Closes the innermost open element's scope.
    void Close();

    // Whether two prefixes in scope may name one URI: only then can two
    // attributes of different names expand alike.
    bool Aliased() const { return m_aliases > 0; }

    // An element's name takes the default namespace when it has no prefix;
    // an attribute's then has none. The name must be of a form
    // IsQualifiedName accepts.
    XmlNamespaceFault ResolveElement(std::string_view qualified, XmlName& name) const {
        return Resolve(qualified, true, name);
    }
    XmlNamespaceFault ResolveAttribute(std::string_view qualified, XmlName& name) const {
        return Resolve(qualified, false, name);
    }

private:
    struct Binding {
        std::string prefix; // empty: the default namespace
        std::string uri;    // empty: the default namespace undeclared
        bool alias = false; // another binding in scope names the same URI
    };
    XmlNamespaceFault Declare(std::string_view prefix, std::string_view uri);
    XmlNamespaceFault Resolve(std::string_view qualified, bool element, XmlName& name) const;

    std::vector<Binding> m_bindings;
    std::vector<uint32_t> m_opened; // bindings in scope before each open element
    size_t m_aliases = 0;           // bindings in scope with `alias` set
};

// Whether two of an element's attributes (resolved) share their URI and
// local name; `names` is put in order on the way.
bool HasDuplicateAttribute(std::vector<const XmlName*>& names);
