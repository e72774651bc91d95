// Prefixes resolved by the declarations of the open elements.
#include "metadata/tags/XmlNamespaces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fault = XmlNamespaceFault;

// "uri|local|prefix" of an element's or an attribute's name; the fault's
// number when there is one.
std::string Resolved(const XmlNamespaces& scope, const char* name, bool element) {
    XmlName n;
    const Fault fault = element ? scope.ResolveElement(name, n) : scope.ResolveAttribute(name, n);
    if (fault != Fault::None)
        return "fault " + std::to_string(static_cast<int>(fault));
    return std::string(n.uri) + "|" + std::string(n.local) + "|" + std::string(n.prefix);
}

} // namespace

TEST(XmlNamespaces, InnerDeclarationsHideOuterOnesUntilTheirElementCloses) {
    XmlNamespaces scope;
    const char* outer[] = {"xmlns", "urn:d", "xmlns:a", "urn:a", "a:x", "1", nullptr};
    const char* inner[] = {"xmlns:a", "urn:inner", "xmlns", "", nullptr};
    ASSERT_EQ(scope.Open(outer), Fault::None);
    EXPECT_EQ(Resolved(scope, "a:y", true), "urn:a|y|a");
    EXPECT_EQ(Resolved(scope, "y", true), "urn:d|y|");
    EXPECT_EQ(Resolved(scope, "y", false), "|y|"); // attributes take no default
    EXPECT_EQ(Resolved(scope, "xml:lang", false),
              std::string(XmlNamespaces::kXmlUri) + "|lang|xml");
    EXPECT_EQ(Resolved(scope, "b:y", true), "fault 2");
    ASSERT_EQ(scope.Open(inner), Fault::None);
    EXPECT_EQ(Resolved(scope, "a:y", true), "urn:inner|y|a");
    EXPECT_EQ(Resolved(scope, "y", true), "|y|"); // the default undeclared
    scope.Close();
    EXPECT_EQ(Resolved(scope, "a:y", true), "urn:a|y|a");
    EXPECT_EQ(Resolved(scope, "y", true), "urn:d|y|");
    scope.Close();
    EXPECT_EQ(Resolved(scope, "a:y", true), "fault 2");
}

TEST(XmlNamespaces, DeclarationsAndNamesANamespaceAwareParserRefuses) {
    const struct {
        const char* name;
        const char* value;
        Fault fault;
    } cases[] = {
        {"xmlns:a", "", Fault::UndeclaringPrefix},
        {"xmlns:xml", "urn:x", Fault::ReservedPrefixXml},
        {"xmlns:xml", "http://www.w3.org/XML/1998/namespace", Fault::None},
        {"xmlns:xmlns", "urn:x", Fault::ReservedPrefixXmlns},
        {"xmlns:a", "http://www.w3.org/XML/1998/namespace", Fault::ReservedNamespaceUri},
        {"xmlns", "http://www.w3.org/2000/xmlns/", Fault::ReservedNamespaceUri},
        {"xmlns:", "urn:x", Fault::InvalidName},
        {"xmlns:a:b", "urn:x", Fault::InvalidName},
    };
    for (const auto& c : cases) {
        XmlNamespaces scope;
        const char* atts[] = {c.name, c.value, nullptr};
        EXPECT_EQ(scope.Open(atts), c.fault) << c.name << "=" << c.value;
    }
    for (const char* bad : {"a:b:c", ":a", "a:", "a:1", "a:-b"})
        EXPECT_FALSE(XmlNamespaces::IsQualifiedName(bad)) << bad;
    for (const char* good : {"a", "a:b", "a-1:b.2", "a:_b", "a:\xC3\xA9"})
        EXPECT_TRUE(XmlNamespaces::IsQualifiedName(good)) << good;
}

// Two prefixes of one URI make two attributes alike; one prefix redeclared
// does not.
TEST(XmlNamespaces, AliasedPrefixesAndDuplicateAttributes) {
    XmlNamespaces scope;
    const char* one[] = {"xmlns:a", "urn:1", "xmlns:b", "urn:2", nullptr};
    ASSERT_EQ(scope.Open(one), Fault::None);
    EXPECT_FALSE(scope.Aliased());
    const char* again[] = {"xmlns:a", "urn:2", nullptr};
    ASSERT_EQ(scope.Open(again), Fault::None);
    EXPECT_TRUE(scope.Aliased()); // a and b both name urn:2 here
    XmlName x, y;
    ASSERT_EQ(scope.ResolveAttribute("a:q", x), Fault::None);
    ASSERT_EQ(scope.ResolveAttribute("b:q", y), Fault::None);
    std::vector<const XmlName*> names = {&x, &y};
    EXPECT_TRUE(HasDuplicateAttribute(names));
    scope.Close();
    EXPECT_FALSE(scope.Aliased());
    ASSERT_EQ(scope.ResolveAttribute("a:q", x), Fault::None);
    names = {&x, &y};
    EXPECT_FALSE(HasDuplicateAttribute(names));
}
