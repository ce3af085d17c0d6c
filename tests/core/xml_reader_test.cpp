// The XML reader: the tree it builds from the handheld's hand-written files, the look-ups by
// name prefix, and the inputs it must refuse whole (malformed, truncated, too deep, too big).

#include <gtest/gtest.h>

#include <string>

#include "core/xml_reader.h"
#include "tests/core/support/core_test_support.h"

using core::parseXml;
using core::parseXmlUtf8;
using core::XmlElement;
using core::XmlLimits;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(XmlReaderTree, ElementsAttributesAndTextInDocumentOrder) {
    auto doc = parseXml(L"<a x=\"1\" y='2' z=3><b/>hello world  <c>text</c>\ttail\r\n</a>");
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->children.size(), 1u);
    const XmlElement& a = doc->children[0];
    EXPECT_EQ(a.name, L"a");
    ASSERT_EQ(a.attributes.size(), 3u);
    // Quotes stay part of the value; an unquoted value is taken as it stands.
    EXPECT_EQ(a.attributes[0].name, L"x");
    EXPECT_EQ(a.attributes[0].value, L"\"1\"");
    EXPECT_EQ(a.attributes[1].value, L"'2'");
    EXPECT_EQ(a.attributes[2].value, L"3");
    ASSERT_EQ(a.children.size(), 2u);
    EXPECT_EQ(a.children[0].name, L"b");
    EXPECT_EQ(a.children[1].name, L"c");
    EXPECT_EQ(a.children[1].texts, std::vector<std::wstring>{L"text"});
    // Text keeps its inner blanks but loses the trailing ones.
    EXPECT_EQ(a.texts, (std::vector<std::wstring>{L"hello world", L"tail"}));
    EXPECT_EQ(a.text(), L"hello world tail");
}

TEST(XmlReaderTree, DeclarationHoldsTheDocumentsElements) {
    auto doc = parseXml(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<homescreen a=\"1\"/>");
    ASSERT_TRUE(doc);
    const XmlElement* decl = doc->child(L"xml");
    ASSERT_TRUE(decl);
    // The "?" before ">" is dropped and is no attribute.
    ASSERT_EQ(decl->attributes.size(), 2u);
    EXPECT_EQ(decl->attributes[1].value, L"\"utf-8\"");
    EXPECT_TRUE(doc->find({L"xml", L"homescreen"}));
    // A "?" glued to the name or an unquoted last value is dropped too.
    auto bare = parseXml(L"<?xml?><?pi a=b?>");
    ASSERT_TRUE(bare);
    ASSERT_TRUE(bare->child(L"xml"));
    EXPECT_EQ(bare->children[0].name, L"xml");
    EXPECT_EQ(bare->children[0].children[0].attributes[0].value, L"b");
}

TEST(XmlReaderTree, ClearSectionsAreKeptUnparsed) {
    auto doc = parseXml(
        L"<r><!-- <obj type=\"fnt\"/> --><![CDATA[a<b>]]><pre>x <i> y</PRE>"
        L"<SCRIPT>if (a<b)</script><!DOCTYPE r></r>");
    ASSERT_TRUE(doc);
    const XmlElement& r = doc->children[0];
    EXPECT_TRUE(r.children.empty());
    EXPECT_EQ(r.clearSections, (std::vector<std::wstring>{L" <obj type=\"fnt\"/> ", L"a<b>",
                                                          L"x <i> y", L"if (a<b)", L" r"}));
}

TEST(XmlReaderTree, EndTagsCloseByPrefixAndCloseWhatIsInBetween) {
    // </ab> closes <a> (its name matches over "a"'s length) and the open <b> inside it.
    auto doc = parseXml(L"<a><b><c></ab><d/>");
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->children.size(), 2u);
    EXPECT_EQ(doc->children[1].name, L"d");
    EXPECT_EQ(doc->children[0].children[0].children[0].name, L"c");
    // Case does not matter; an end tag naming nothing open is ignored; open elements at the
    // end are kept.
    auto loose = parseXml(L"<A><B></b></zzz><C>");
    ASSERT_TRUE(loose);
    ASSERT_EQ(loose->children.size(), 1u);
    EXPECT_EQ(loose->children[0].children.size(), 2u);
    // A shorter end tag does not close a longer name.
    auto shorter = parseXml(L"<abc></ab><d/>");
    ASSERT_TRUE(shorter);
    EXPECT_EQ(shorter->children.size(), 1u);
}

TEST(XmlReaderTree, EntitiesAreDecodedInTextAndValues) {
    auto doc = parseXml(L"<a v=\"x &amp; &#65;&#x42; &bogus; &\">&lt;3 &#0; &#xD800;</a>");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->children[0].attributes[0].value, L"\"x & AB &bogus; &\"");
    EXPECT_EQ(doc->children[0].text(), L"<3 &#0; &#xD800;");
}

TEST(XmlReaderLookup, PrefixAndCaseInsensitive) {
    auto doc = parseXml(L"<XML><HomeScreenX hilitecolor=\"5\" HILITE=\"7\"/><homescreen/></XML>");
    ASSERT_TRUE(doc);
    const XmlElement* home = doc->find({L"xml", L"homescreen"});
    ASSERT_TRUE(home);
    // The first child whose name begins with the segment wins.
    EXPECT_EQ(home->name, L"HomeScreenX");
    EXPECT_EQ(home->attributeText(L"hilite"), L"5");
    EXPECT_EQ(home->attributeText(L"HILITE"), L"5");
    EXPECT_EQ(home->attributeText(L"missing"), L"");
    EXPECT_FALSE(doc->find({L"xml", L"other"}));
    EXPECT_FALSE(doc->find({L"homescreen"}));
}

TEST(XmlReaderErrors, MalformedInputGivesNothing) {
    const wchar_t* bad[] = {
        L"<a v=\"open>",            // value without its closing quote
        L"<a v='x\"></a>",          // the other quote does not close it
        L"<a><!-- never ends</a>",  // comment without its end
        L"<a><![CDATA[ x ]></a>",   // CDATA without its end
        L"<a><pre>x</a>",           // <PRE> without </PRE>
        L"<!DOCTYPE x",             // doctype without ">"
        L"<a></>",                  // end tag without a name
        L"<a></a",                  // end tag without ">"
        L"<a></a x>",               // something else before ">"
        L"<a =\"1\">",              // value without a name
        L"<a \"1\">",               // quote where a name must stand
        L"<a b=>",                  // "=" without a value
        L"<a b=<c>",                // "<" inside a tag
        L"< a>",                    // start tag without a name
        L"<>",                      //
        L"<",                       // cut off
        L"<a b=\"1\"",              // tag cut off by the end
        L"<a b",                    //
        L"<?xml version=\"1.0\"",   // declaration cut off
    };
    for (const wchar_t* text : bad) EXPECT_FALSE(parseXml(text)) << std::wstring(text).c_str();
}

TEST(XmlReaderErrors, TruncationAnywhereNeverReadsPastTheEnd) {
    // Every prefix of a real file either parses or is refused; none may crash (the sanitizer
    // build checks the reads). A prefix cut inside a tag must be refused.
    std::wstring file =
        L"<?xml version=\"1.0\"?><xml><homescreen hilite=\"60\"><!-- c --><layout name='a'>"
        L"<obj type=\"static\" text=\"Hi &amp; bye\"/></layout></homescreen></xml>";
    std::size_t refused = 0;
    for (std::size_t n = 0; n <= file.size(); ++n) {
        auto doc = parseXml(std::wstring_view(file).substr(0, n));
        if (!doc)
            ++refused;
    }
    EXPECT_GT(refused, file.size() / 2);
    ASSERT_TRUE(parseXml(file));
    EXPECT_FALSE(parseXml(std::wstring_view(file).substr(0, file.find(L"text=") + 7)));
}

TEST(XmlReaderLimits, DeepNestingAndHugeInputAreRefused) {
    XmlLimits limits;
    limits.maxDepth = 64;
    std::wstring deep;
    for (int i = 0; i < 64; ++i) deep += L"<a>";
    EXPECT_TRUE(parseXml(deep, limits));
    EXPECT_FALSE(parseXml(deep + L"<a>", limits));
    // Empty elements nest no further, so they do not count towards the depth.
    EXPECT_TRUE(parseXml(deep + L"<b/>", limits));
    // Six hundred thousand nested elements would overflow the stack of a recursive reader; this one
    // refuses them at the limit without recursion.
    std::wstring million;
    for (int i = 0; i < 600000; ++i) million += L"<a>";
    EXPECT_FALSE(parseXml(million));

    limits.maxNodes = 10;
    std::wstring nodes;
    for (int i = 0; i < 10; ++i) nodes += L"<b/>";
    EXPECT_TRUE(parseXml(nodes, limits));
    EXPECT_FALSE(parseXml(nodes + L"<b/>", limits));
    EXPECT_FALSE(
        parseXml(L"<a x=\"1\" y=\"2\" z=\"3\" w=\"4\" v=\"5\" u=\"6\" t=\"7\" s=\"8\" "
                 L"r=\"9\" q=\"10\"/>",
                 limits));

    limits = XmlLimits{};
    limits.maxChars = 100;
    EXPECT_TRUE(parseXml(std::wstring(100, L' '), limits));
    EXPECT_FALSE(parseXml(std::wstring(101, L' '), limits));
}

TEST(XmlReaderFiles, Utf8WithMarkAndDamagedFiles) {
    auto doc = parseXmlUtf8(bytesOf("\xEF\xBB\xBF<a t=\"Z\xC3\xBCrich\"/>"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->children[0].attributeText(L"t"), L"Z\u00FCrich");
    // A NUL byte means a damaged file, not the end of the text.
    EXPECT_FALSE(parseXmlUtf8(bytesOf(std::string_view("<a/>\0<b/>", 9))));
    XmlLimits limits;
    limits.maxChars = 8;
    EXPECT_FALSE(parseXmlUtf8(bytesOf("<a/><b/><c/>"), limits));

    core::test::useDevice();
    core::test::writeDeviceFile(L"\\x\\layout.xml", "<xml><homescreen/></xml>");
    EXPECT_TRUE(core::readXmlFile(L"\\x\\layout.xml"));
    EXPECT_FALSE(core::readXmlFile(L"\\x\\missing.xml"));
    core::test::writeDeviceFile(L"\\x\\big.xml", std::string(100, ' '));
    EXPECT_FALSE(core::readXmlFile(L"\\x\\big.xml", limits));
}

}  // namespace
