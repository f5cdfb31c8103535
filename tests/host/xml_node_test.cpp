#include "config/xml_node.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
std::string Identity(const std::string& s) { return s; }
// Marks every converted text, to show what was converted and when.
std::string Bracketed(const std::string& s) { return "[" + s + "]"; }
}  // namespace

TEST(EscapeXmlText, ReplacesTheFourMarkupCharactersAndLeavesTheApostrophe) {
    EXPECT_EQ(EscapeXmlText("a\"b&c<d>e'f"), "a&quot;b&amp;c&lt;d&gt;e'f");
    EXPECT_EQ(EscapeXmlText("<<>>"), "&lt;&lt;&gt;&gt;");
    EXPECT_EQ(EscapeXmlText(""), "");
}

TEST(EscapeXmlText, EscapesAnExistingEntityAgain) {
    EXPECT_EQ(EscapeXmlText("&amp;"), "&amp;amp;");
    EXPECT_EQ(EscapeXmlText("Q&amp;A &lt;"), "Q&amp;amp;A &amp;lt;");
}

TEST(EscapeXmlText, KeepsDoubleByteCharactersAndControlBytesWhole) {
    // 0x95 0x5C and 0x83 0x5C end in a backslash byte; 0x81 0x40 is the wide space.
    const std::string text = "\x95\x5C\x83\x5C\x81\x40\t\x01&";
    EXPECT_EQ(EscapeXmlText(text), "\x95\x5C\x83\x5C\x81\x40\t\x01&amp;");
}

TEST(XmlNodeSetInt, WritesDecimalWithSign) {
    XmlNode n("n");
    n.SetInt(-5);
    EXPECT_EQ(n.text, "-5");
    n.SetInt(0);
    EXPECT_EQ(n.text, "0");
    n.SetInt(999);
    EXPECT_EQ(n.text, "999");
    n.SetInt(INT_MAX);
    EXPECT_EQ(n.text, "2147483647");
    n.SetInt(INT_MIN);
    EXPECT_EQ(n.text, "-2147483648");
}

TEST(XmlNodeWrite, IndentsTwoSpacesPerLevelWithCrLfAndEmptyLeavesOnOneLine) {
    XmlNode root("r");
    root.text = "ignored: the root has children";
    root.AddChild("a").SetText("1");
    XmlNode& group = root.AddChild("g");
    group.AddChild("empty");
    group.AddChild("deep").AddChild("x").SetInt(7);
    std::string out;
    root.Write(out, 0, Identity);
    EXPECT_EQ(out,
              "<r>\r\n"
              "  <a>1</a>\r\n"
              "  <g>\r\n"
              "    <empty></empty>\r\n"
              "    <deep>\r\n"
              "      <x>7</x>\r\n"
              "    </deep>\r\n"
              "  </g>\r\n"
              "</r>\r\n");
}

TEST(XmlNodeWrite, ConvertsEachLeafTextOnceAfterEscapingAndNeverTheTags) {
    XmlNode root("root");
    root.AddChild("a").SetText("x<y");
    root.AddChild("b");
    std::string out;
    root.Write(out, 0, Bracketed);
    EXPECT_EQ(out, "<root>\r\n  <a>[x&lt;y]</a>\r\n  <b>[]</b>\r\n</root>\r\n");
}

TEST(XmlDocumentText, StartsWithTheDeclarationLine) {
    XmlNode root("kvtini");
    root.AddChild("font_face");
    EXPECT_EQ(XmlDocumentText(root, Identity),
              "<?xml version='1.0' encoding='UTF-8' ?>\r\n<kvtini>\r\n  <font_face></font_face>\r\n</kvtini>\r\n");
}
