#include "metadata/tags/XmlNamespaces.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr std::string_view kXmlnsUri = "http://www.w3.org/2000/xmlns/";

// Letters, '_' and every byte of a multibyte character may start a name
// part; digits, '-' and '.' may only follow (the parser checked the rest).
bool StartsName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || c == '_' || static_cast<unsigned>((u | 0x20) - 'a') < 26u;
}

} // namespace

bool XmlNamespaces::IsDeclaration(std::string_view attribute) {
    return attribute.starts_with("xmlns") && (attribute.size() == 5 || attribute[5] == ':');
}

bool XmlNamespaces::IsQualifiedName(std::string_view name) {
    const size_t colon = name.find(':');
    if (colon == std::string_view::npos)
        return true;
    return colon > 0 && colon + 1 < name.size() && StartsName(name[colon + 1]) &&
           name.find(':', colon + 1) == std::string_view::npos;
}

XmlNamespaceFault XmlNamespaces::Open(const char* const* attributes) {
    m_opened.push_back(static_cast<uint32_t>(m_bindings.size()));
    for (size_t i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        const std::string_view name = attributes[i];
        if (!IsDeclaration(name))
            continue;
        if (!IsQualifiedName(name))
            return XmlNamespaceFault::InvalidName;
        const XmlNamespaceFault fault =
            Declare(name.size() == 5 ? std::string_view() : name.substr(6), attributes[i + 1]);
        if (fault != XmlNamespaceFault::None)
            return fault;
    }
    return XmlNamespaceFault::None;
}

void XmlNamespaces::Close() {
    if (m_opened.empty())
        return;
    for (size_t i = m_opened.back(); i < m_bindings.size(); ++i)
        m_aliases -= m_bindings[i].alias ? 1 : 0;
    m_bindings.resize(m_opened.back());
    m_opened.pop_back();
}

XmlNamespaceFault XmlNamespaces::Declare(std::string_view prefix, std::string_view uri) {
    // Only the default namespace may be undeclared (namespaces 1.0).
    if (uri.empty() && !prefix.empty())
        return XmlNamespaceFault::UndeclaringPrefix;
    if (prefix == "xmlns")
        return XmlNamespaceFault::ReservedPrefixXmlns;
    const bool xmlPrefix = prefix == "xml";
    if (xmlPrefix != (uri == kXmlUri))
        return xmlPrefix ? XmlNamespaceFault::ReservedPrefixXml
                         : XmlNamespaceFault::ReservedNamespaceUri;
    if (uri == kXmlnsUri)
        return XmlNamespaceFault::ReservedNamespaceUri;
    if (m_bindings.size() >= kMaxBindings)
        return XmlNamespaceFault::TooManyDeclarations;
    bool alias = false;
    for (const Binding& b : m_bindings) // bounded by kMaxBindings
        alias = alias || (b.uri == uri && b.prefix != prefix);
    m_bindings.push_back({std::string(prefix), std::string(uri), alias});
    m_aliases += alias ? 1 : 0;
    return XmlNamespaceFault::None;
}

XmlNamespaceFault XmlNamespaces::Resolve(std::string_view qualified, bool element,
                                         XmlName& name) const {
    const size_t colon = qualified.find(':');
    name.prefix = colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
    name.local = colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
    name.uri = {};
    if (name.prefix.empty() && !element)
        return XmlNamespaceFault::None;
    // Innermost first; bounded by kMaxBindings.
    for (auto b = m_bindings.rbegin(); b != m_bindings.rend(); ++b)
        if (b->prefix == name.prefix) {
            name.uri = b->uri;
            return XmlNamespaceFault::None;
        }
    if (name.prefix == "xml") {
        name.uri = kXmlUri;
        return XmlNamespaceFault::None;
    }
    return name.prefix.empty() ? XmlNamespaceFault::None : XmlNamespaceFault::UnboundPrefix;
}

bool HasDuplicateAttribute(std::vector<const XmlName*>& names) {
    const auto key = [](const XmlName* n) { return std::tie(n->uri, n->local); };
    std::sort(names.begin(), names.end(),
              [&](const XmlName* a, const XmlName* b) { return key(a) < key(b); });
    return std::adjacent_find(names.begin(), names.end(), [&](const XmlName* a, const XmlName* b) {
               return key(a) == key(b);
           }) != names.end();
}
