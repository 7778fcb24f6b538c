#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SonosProtocolBoundary/XMLNode.h"

using namespace orvel;

namespace {

std::string nested(std::size_t depth) {
    std::string out;
    for (std::size_t i = 0; i < depth; ++i) out += "<a>";
    for (std::size_t i = 0; i < depth; ++i) out += "</a>";
    return out;
}

}  // namespace

TEST(XMLNode, BuildsTheTreeWithLocalNamesAttributesAndText) {
    auto root = XMLNode::parse(R"(<?xml version="1.0" encoding="utf-8"?>
<DIDL-Lite xmlns="urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/" xmlns:dc="http://purl.org/dc/elements/1.1/">
  <item id="Q:0/1" parentID="Q:0"><dc:title>Tom &amp; Jerry <![CDATA[<raw>]]></dc:title><!-- note --><res duration="0:03:31">x-file:1</res></item>
  <item id="Q:0/2"/>
</DIDL-Lite>)");
    ASSERT_TRUE(root) << root.error().message;
    EXPECT_EQ(root->name, "DIDL-Lite");
    ASSERT_EQ(root->childrenNamed("item").size(), 2u);
    const XMLNode& item = root->children[0];
    EXPECT_EQ(item.attribute("id"), "Q:0/1");
    EXPECT_EQ(item.attribute("parentID"), "Q:0");
    EXPECT_EQ(item.attribute("missing"), std::nullopt);
    EXPECT_EQ(item.child("title")->text, "Tom & Jerry <raw>");
    EXPECT_EQ(item.find("res")->attribute("duration"), "0:03:31");
    EXPECT_EQ(root->find("item/res")->text, "x-file:1");
    EXPECT_EQ(root->find("item/nothing"), nullptr);
    EXPECT_EQ(root->children[1].children.size(), 0u);
}

TEST(XMLNode, HostileAndBrokenDocumentsAreRefused) {
    const std::string laughs = R"(<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol">)"
                               R"(<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">]><lolz>&lol2;</lolz>)";
    struct Case {
        const char* name;
        std::string document;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"white space only", "   \n"},
        {"truncated", "<a><b>text</b>"},
        {"mismatched tags", "<a><b></a></b>"},
        {"two roots", "<a/><b/>"},
        {"text only", "just words"},
        {"doctype", "<!DOCTYPE a><a/>"},
        {"entity expansion", laughs},
        {"external entity", R"(<!DOCTYPE a [<!ENTITY x SYSTEM "file:///etc/passwd">]><a>&x;</a>)"},
        {"undeclared entity", "<a>&nbsp;</a>"},
        {"undeclared prefix", "<u:a/>"},
        {"deep nesting", nested(49)},
        {"attribute without quotes", "<a b=c/>"},
    };
    for (const auto& c : cases) {
        auto result = XMLNode::parse(c.document);
        EXPECT_FALSE(result) << c.name;
        if (!result) {
            EXPECT_FALSE(result.error().message.empty()) << c.name;
        }
    }
    EXPECT_TRUE(XMLNode::parse(nested(48))) << "the depth limit itself is allowed";
}

// Text is UTF-8 whatever the declaration claims, and a character is read whole wherever it
// falls in a long document.
TEST(XMLNode, ReadsTextAsUtf8) {
    const std::string euro = "\xE2\x82\xAC";
    struct Case {
        const char* name;
        std::string document;
        std::string text;
    };
    std::vector<Case> cases = {
        {"a latin-1 declaration over UTF-8 text", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xC3\xA9</a>",
         "caf\xC3\xA9"},
        {"a byte order mark", "\xEF\xBB\xBF<a>" + euro + "</a>", euro},
        {"latin-1 bytes under a latin-1 declaration", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9</a>",
         "caf\xEF\xBF\xBD"},
    };
    // Characters of every length across the points where a long text is checked piece by piece.
    for (std::size_t offset = 0; offset < 13; ++offset) {
        std::string text(16 * 1024 - offset, 'x');
        for (int i = 0; i < 8; ++i) text += euro + "\xC3\xA9\xF0\x9F\x8E\xB5" + std::string(16 * 1024 - 9, 'y');
        cases.push_back({"characters across pieces", "<a>" + text + "</a>", text});
    }
    for (const auto& c : cases) {
        auto parsed = XMLNode::parse(c.document);
        ASSERT_TRUE(parsed) << c.name << ": " << parsed.error().message;
        EXPECT_EQ(parsed->text, c.text) << c.name;
    }
}

// A character XML cannot carry, by reference or raw, costs only itself: it reads as U+FFFD in
// text and in attributes, and the rest of the document reads as it would without it.
TEST(XMLNode, ACharacterXmlCannotCarryReadsAsReplacement) {
    const std::string fffd = "\xEF\xBF\xBD";
    auto document = [](const std::string& odd) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?><root xmlns:dc=\"urn:dc\"><dc:title n=\"x" + odd +
               "y\" m=\"ok\">before " + odd + " after</dc:title><b>&#x41;&#128512; &amp; <![CDATA[&#x1;]]></b></root>";
    };
    struct Case {
        const char* name;
        std::string odd;
        std::string read;
    };
    const std::vector<Case> cases = {
        {"a reference to a control character", "&#x1;", fffd},
        {"a decimal reference to NUL", "&#0;", fffd},
        {"references to the two halves of a surrogate pair", "&#xD83D;&#xDE00;", fffd + fffd},
        {"a reference to U+FFFE", "&#xFFFE;", fffd},
        {"a reference past the last code point", "&#x110000;", fffd},
        {"a reference too long for any number", "&#99999999999999999999999;", fffd},
        {"a raw control character", "\x01", fffd},
        {"a raw NUL", std::string(1, '\0'), fffd},
        {"a byte that is not UTF-8", "\xFF", fffd},
        {"a sequence cut short by ASCII", "\xC3(", fffd + "("},
        {"an encoded U+FFFF", "\xEF\xBF\xBF", fffd},
        {"a surrogate encoded as UTF-8", "\xED\xA0\xBD", fffd + fffd + fffd},
        {"one far into a long text", std::string(40'000, 'x') + "\xE2\x82", std::string(40'000, 'x') + fffd},
    };
    const auto expected = XMLNode::parse(document("?"));
    ASSERT_TRUE(expected) << expected.error().message;
    for (const auto& c : cases) {
        auto parsed = XMLNode::parse(document(c.odd));
        ASSERT_TRUE(parsed) << c.name << ": " << parsed.error().message;
        XMLNode want = *expected;
        want.children[0].text = "before " + c.read + " after";
        want.children[0].attributes["n"] = "x" + c.read + "y";
        EXPECT_EQ(*parsed, want) << c.name;
    }

    // Inside a CDATA section a reference is literal text, but a raw control character is mended.
    auto cdata = XMLNode::parse("<a><![CDATA[&#x1;\x01]]><!-- &#x1; --></a>");
    ASSERT_TRUE(cdata) << cdata.error().message;
    EXPECT_EQ(cdata->text, "&#x1;" + fffd);
}

TEST(XMLNode, LimitsOnSizeAndElementCount) {
    XMLNode::Limits small;
    small.maxBytes = 64;
    small.maxElements = 3;
    EXPECT_FALSE(XMLNode::parse("<a>" + std::string(100, 'x') + "</a>", small));
    EXPECT_FALSE(XMLNode::parse("<a><b/><c/><d/></a>", small));
    EXPECT_TRUE(XMLNode::parse("<a><b/><c/></a>", small));
    // A document of the largest allowed size still parses in full.
    std::string big = "<a>" + std::string(4 * 1024 * 1024 - 7, 'y') + "</a>";
    ASSERT_EQ(big.size(), 4u * 1024 * 1024);
    auto parsed = XMLNode::parse(big);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->text.size(), big.size() - 7);
    EXPECT_FALSE(XMLNode::parse(big + " "));

    // The cap holds for the document as read: each control byte reads as the three bytes of U+FFFD.
    const auto mendedToFit = XMLNode::parse("<a>" + std::string(19, '\x01') + "</a>", small);
    ASSERT_TRUE(mendedToFit) << mendedToFit.error().message;
    EXPECT_EQ(mendedToFit->text.size(), 19u * 3);
    const auto mendedPastTheCap = XMLNode::parse("<a>" + std::string(20, '\x01') + "</a>", small);
    ASSERT_FALSE(mendedPastTheCap);
    EXPECT_TRUE(mendedPastTheCap.error().isTooLarge()) << mendedPastTheCap.error().message;
}
