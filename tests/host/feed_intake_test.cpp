#include "feed/feed_intake.h"
#include "iconv_code_pages.h"

#include <gtest/gtest.h>

namespace {

// Windows without a converter for a code page, as Wine has none for ISO-2022-JP.
bool NoConverter(unsigned, const std::string&, std::string*) { return false; }

struct Case {
    const char* what;
    std::string in;
    IntakeResult result;
    std::string out;
    CodePageConverter convert = IconvCodePageToUtf8;
};

std::string Utf16(const std::string& ascii, bool bigEndian, bool mark) {
    std::string out = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : ascii) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

const char kRoot[] = "<rss><t>x</t></rss>";

TEST(PrepareDocument, RemovesEveryDoctypeAndRewritesTheReferencesItLeaves) {
    const std::string root = kRoot;
    const Case cases[] = {
        {"no DOCTYPE", "<?xml version=\"1.0\"?>" + root, IntakeResult::kReady, "<?xml version=\"1.0\"?>" + root},
        {"SYSTEM", "<!DOCTYPE rss SYSTEM \"http://127.0.0.1/x.dtd\">" + root, IntakeResult::kReady, root},
        {"PUBLIC, with HTML entities; XML's own, numeric and unknown ones stay",
         "<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\"\n \"http://my/rss-0.91.dtd\">"
         "<rss>1 &times; 2 &deg; &hellip; &alpha; &amp;&lt;&#65;&#x42; &nosuch; &Eacute;&eacute; & a</rss>",
         IntakeResult::kReady,
         "<rss>1 &#215; 2 &#176; &#8230; &#945; &amp;&lt;&#65;&#x42; &nosuch; &#201;&#233; & a</rss>"},
        {"an internal subset with each kind of declaration, ] and > in literals and comments",
         "<!DOCTYPE rss [\n<!ELEMENT rss (#PCDATA)>\n<!ATTLIST rss v CDATA \"]>\">\n"
         "<!-- ]> <!ENTITY fake \"F\"> -->\n<?pi ]> ?>\n<!NOTATION n SYSTEM 'x]>'>\n"
         "<!ENTITY % pe \"<!ENTITY p 'P'>\">\n%pe;\n<!ENTITY ext SYSTEM \"http://127.0.0.1/e\">\n"
         "<!ENTITY one 'a'><!ENTITY one 'b'><!ENTITY ref \"&#x263A;\"><!ENTITY jp \"\xE3\x81\x82\">\n"
         "<!ENTITY many \"ab\"><!ENTITY deg \"&#8451;\"><!ENTITY lt \"&#60;\"><!ENTITY crlf \"\r\n\">\n]>"
         "<rss a='&one;'>&one;&ref;&jp;&many;&ext;&p;&fake;&deg;&lt;&crlf;</rss>",
         IntakeResult::kReady, "<rss a='&#97;'>&#97;&#9786;\xE3\x81\x82&many;&ext;&p;&fake;&#8451;&lt;&#10;</rss>"},
        {"after comments and processing instructions; references in them stay",
         "<?xml version='1.0'?><!-- &eacute; <!DOCTYPE a> --><?pi &eacute;?>\n<!DOCTYPE rss>"
         "<rss><![CDATA[&eacute;<!DOCTYPE x>]]>&eacute;</rss>",
         IntakeResult::kReady,
         "<?xml version='1.0'?><!-- &eacute; <!DOCTYPE a> --><?pi &eacute;?>\n "
         "<rss><![CDATA[&eacute;<!DOCTYPE x>]]>&#233;</rss>"},
        {"a DOCTYPE that never ends takes the rest with it", "<!DOCTYPE rss [ <!ENTITY a 'x'> <rss/>",
         IntakeResult::kReady, ""},
        {"a UTF-8 byte-order mark", "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?>" + root, IntakeResult::kReady,
         "<?xml version='1.0' encoding='utf-8'?>" + root},
        {"UTF-16 both ways, with and without a mark; single-quoted declarations",
         Utf16("<?xml version='1.0' encoding='UTF-16'?><!DOCTYPE r><r>&eacute;</r>", false, true), IntakeResult::kReady,
         "<?xml version='1.0' encoding='UTF-8'?> <r>&#233;</r>"},
        {"", Utf16("<?xml version='1.0' encoding='UTF-16'?><r/>", true, true), IntakeResult::kReady,
         "<?xml version='1.0' encoding='UTF-8'?><r/>"},
        {"", Utf16("<?xml version=\"1.0\"?><r/>", true, false), IntakeResult::kReady, "<?xml version=\"1.0\"?><r/>"},
        {"", Utf16("<?xml version=\"1.0\"?><r/>", false, false), IntakeResult::kReady, "<?xml version=\"1.0\"?><r/>"},
        // ゼ, ゾ, 表 and ア end in the bytes [, ], \ and A.
        {"Shift_JIS whose trail bytes are [ ] \\ and letters",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><!DOCTYPE r [<!ENTITY z \"\x83\x5D\">]>"
         "<r a=\"\x83\x5B\">\x83\x5B\x83\x5D\x95\x5C\x83\x41&z;</r>",
         IntakeResult::kReady,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <r a=\"\xE3\x82\xBC\">"
         "\xE3\x82\xBC\xE3\x82\xBE\xE8\xA1\xA8\xE3\x82\xA2\xE3\x82\xBE</r>"},
        {"EUC-JP", "<?xml version='1.0' encoding='EUC-JP'?><r>\xA4\xA2</r>", IntakeResult::kReady,
         "<?xml version='1.0' encoding='UTF-8'?><r>\xE3\x81\x82</r>"},
        {"ISO-2022-JP", "<?xml version='1.0' encoding='ISO-2022-JP'?><r>\x1B$B$\"\x1B(B</r>", IntakeResult::kReady,
         "<?xml version='1.0' encoding='UTF-8'?><r>\xE3\x81\x82</r>"},
        {"other ASCII-compatible encodings pass as they are",
         "<?xml version='1.0' encoding='Big5'?><r>\xA4\x5D&eacute;</r>", IntakeResult::kReady,
         "<?xml version='1.0' encoding='Big5'?><r>\xA4\x5D&#233;</r>"},
        {"ISO-2022-JP without a converter", "<?xml version='1.0' encoding='ISO-2022-JP'?><r>\x1B$B$\"\x1B(B</r>",
         IntakeResult::kUnreadableEncoding, "", NoConverter},
        {"UTF-32", std::string("\x00\x00\xFE\xFF\x00\x00\x00<", 8), IntakeResult::kUnreadableEncoding, ""},
        {"EBCDIC", "\x4C\x6F\xA7\x94\x93", IntakeResult::kUnreadableEncoding, ""},
        {"UTF-7", "<?xml version='1.0' encoding='UTF-7'?><r>+MEI-</r>", IntakeResult::kUnreadableEncoding, ""},
        {"halves of markup on either side of a DOCTYPE do not join",
         "<r><!DOCT<!DOCTYPE r>YPE r SYSTEM \"http://127.0.0.1/x\"><!-<!DOCTYPE r>- &am<!DOCTYPE r>p;</r>",
         IntakeResult::kReady, "<r><!DOCT YPE r SYSTEM \"http://127.0.0.1/x\"><!- - &am p;</r>"},
        {"a DOCTYPE hiding a declaration of another encoding",
         "<!DOCTYPE r>\n<?xml version='1.0' encoding='UTF-7'?><r/>", IntakeResult::kUnreadableEncoding, ""},
        {"a zero byte", std::string("<r>\0</r>", 8), IntakeResult::kUnreadableEncoding, ""},
        {"an empty document", "", IntakeResult::kEmpty, ""},
        {"one byte over the limit", std::string(kMaxDocumentBytes + 1, ' '), IntakeResult::kTooLarge, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "left over";
        EXPECT_EQ(PrepareDocument(c.in, c.convert, &out), c.result);
        EXPECT_EQ(out, c.out);
    }
    std::string out;
    const std::string limit = "<r>" + std::string(kMaxDocumentBytes - 7, 'x') + "</r>";
    EXPECT_EQ(PrepareDocument(limit, IconvCodePageToUtf8, &out), IntakeResult::kReady);
    EXPECT_EQ(out, limit);
}

}  // namespace
