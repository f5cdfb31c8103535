#include "config/xml_node.h"

#include "common/cp932.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
// Marks every converted text, to show what was converted.
std::string Bracketed(const std::string& s) { return "[" + s + "]"; }
}  // namespace

TEST(EscapeXmlText, ReplacesTheFourMarkupCharactersOnly) {
    EXPECT_EQ(EscapeXmlText("a\"b&c<d>e'f"), "a&quot;b&amp;c&lt;d&gt;e'f");  // the apostrophe stays
    EXPECT_EQ(EscapeXmlText("Q&amp;A &lt;"), "Q&amp;amp;A &amp;lt;");        // entities are escaped again
    // 0x95 0x5C and 0x83 0x5C end in a backslash byte; 0x81 0x40 is the wide space.
    EXPECT_EQ(EscapeXmlText("\x95\x5C\x83\x5C\x81\x40\t\x01&"), "\x95\x5C\x83\x5C\x81\x40\t\x01&amp;");
}

TEST(EscapeXmlText, WritesACarriageReturnAsAReferenceSoThatItReadsBackAsItself) {
    EXPECT_EQ(EscapeXmlText("http://a/\r\nb\rc\n"), "http://a/&#13;\nb&#13;c\n");
}

TEST(XmlNodeSetInt, WritesDecimalWithSign) {
    XmlNode n("n");
    n.SetInt(-5);
    EXPECT_EQ(n.text, "-5");
    n.SetInt(INT_MIN);
    EXPECT_EQ(n.text, "-2147483648");
}

TEST(XmlDocumentText, DeclarationThenTwoSpacesPerLevelWithCrLfAndOnlyLeafTextsConverted) {
    XmlNode root("r");
    root.text = "ignored: the root has children";
    root.AddChild("a").SetText("x<y");
    XmlNode& group = root.AddChild("g");
    group.AddChild("empty");
    group.AddChild("deep").AddChild("x").SetInt(7);
    EXPECT_EQ(XmlDocumentText(root, Bracketed),
              "<?xml version='1.0' encoding='UTF-8' ?>\r\n"
              "<r>\r\n"
              "  <a>[x&lt;y]</a>\r\n"
              "  <g>\r\n"
              "    <empty>[]</empty>\r\n"
              "    <deep>\r\n"
              "      <x>[7]</x>\r\n"
              "    </deep>\r\n"
              "  </g>\r\n"
              "</r>\r\n");
}

namespace {
std::string AsIs(const std::string& s) { return s; }
}  // namespace

// A single character XML does not allow makes the whole file unreadable, so each one
// becomes a space, whatever the text or its conversion holds.
TEST(XmlDocumentText, WritesASpaceForEachCharacterXmlCannotHold) {
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"http://a/\x01", "http://a/ "},
        {"\x02\x08\x0B\x0C\x0E\x1F!", "      !"},
        {"a\tb\nc\rd\x7F", "a\tb\nc&#13;d\x7F"},  // tab, line feed, carriage return and DEL are allowed
        {"\xEF\xBF\xBE|\xEF\xBF\xBF|\xEF\xBF\xBD", " | |\xEF\xBF\xBD"},  // U+FFFE, U+FFFF; U+FFFD stays
        {"\xED\xA0\x80|\xED\x9F\xBF", " |\xED\x9F\xBF"},                 // a surrogate; U+D7FF stays
        {"\xFF|\xC3|\xC0\x80|\xE3\x81", " | |  |  "},                    // bytes of no character, one space each
        {"\xF0\x9F\x98\x80\xC3\xA9&", "\xF0\x9F\x98\x80\xC3\xA9&amp;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        XmlNode root("r");
        root.AddChild("x").SetText(c.text);
        EXPECT_EQ(XmlDocumentText(root, AsIs), std::string("<?xml version='1.0' encoding='UTF-8' ?>\r\n<r>\r\n  <x>") +
                                                   c.written + "</x>\r\n</r>\r\n");
    }
}

namespace {
// As the runtime converts code page 932: a lead byte takes whatever non-zero byte follows
// it into one character, here "?" for a pair the code page lacks.
std::string PairingConverter(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() && s[i + 1] != 0;
        out += pair ? '?' : s[i];
        i += pair;
    }
    return out;
}
}  // namespace

// A dropped text holds raw bytes: a lead byte may stand just before a character that the
// writer escapes. It takes that character with it, and never the start of an escape.
TEST(XmlDocumentText, AStrayLeadByteBeforeMarkupTakesOnlyThatCharacter) {
    for (const char* markup : {"\"", "&", "<", ">", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(markup));
        XmlNode root("r");
        root.AddChild("x").SetText(std::string("a\x81") + markup + "<b");
        EXPECT_EQ(XmlDocumentText(root, PairingConverter),
                  "<?xml version='1.0' encoding='UTF-8' ?>\r\n<r>\r\n  <x>a?&lt;b</x>\r\n</r>\r\n");
    }
}
