#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into corpus/<target>/seed-*: small inputs
of our own and the cases the host tests use, in each target's input layout (see the
comment at the top of <target>_fuzz.cpp). Inputs the fuzzers found (regression-*) are
kept beside them and left alone. Run it again after changing a layout."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def sjis(text):
    return text.encode("cp932")


def u16(v):
    return struct.pack("<H", v)


def i32(v):
    return struct.pack("<i", v)


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        if name.startswith("seed-"):
            os.remove(os.path.join(folder, name))
    for i, data in enumerate(seeds):
        with open(os.path.join(folder, "seed-%02d" % i), "wb") as f:
            f.write(data)


KANJI = sjis("漢")
WIDE_PUNCTUATION = sjis("　、’“”「」")

write("command_line", [t.encode() for t in [
    "", "/c", "/C", "/c:1234", "/c:", "/c 1234", "/s", "-S", "xs", "/s 99", "/x", "/", "s", "/p 1234", "/p1234",
    "/P  -77", "/p", "/p abc", "/p 12abc", "/a 1234", "/A", "/p 2147483647", "/p -2147483648", "/p 2147483648",
    "/p 99999999999999999999999", "/c:\t+42"]])

write("decimal", [t.encode() for t in [
    "0", "150", "-3", "abc", "12abc", " 7", "1000", "5", "2", "", "2147483647", "2147483648", "-2147483648",
    "-2147483649", "99999999999999999999", "+17", "\t\n\v\f\r 9", "00000000000000000000042", "-0"]])

write("display_codes", [u16(limit) + text for limit, text in [
    (1023, b"A\xB1\x8A\xBF"), (1023, b"\xE0\x40"), (1023, WIDE_PUNCTUATION), (1023, sjis("。‘")),
    (1023, b"\xFB\xFCA\xFA\xB1B\xFA\xBAC\xFA\x40D\xF0\x40"), (1023, b"\xFD\x40"), (1023, b"a\x82"),
    (2, b"a\xFB\xFC"), (1023, b"a" + KANJI * 1100), (1023, b"a" + KANJI * 600), (1023, b"ab" + KANJI * 600),
    (1023, b"ab\x82"), (5, b"\x95\x5C\x83\x5C\x81\x40\x00tail")]])

write("drop_text", [u16(limit) + block for limit, block in [
    (0xFFFF, b"http://127.0.0.1/feeds/rss2.xml"), (0xFFFF, b"http://127.0.0.1/a\x00garbage"),
    (1023, b"a" + KANJI * 600), (1023, b"ab" + KANJI * 600), (0xFFFF, b"ab" + KANJI * 600), (3, b"a" + KANJI),
    (0, b"x"),
    (0xFFFF, b""), (0xFFFF, b"http://127.0.0.1:9/x\x01y\x1F\x00")]])

write("link_rule", [t if isinstance(t, bytes) else t.encode() for t in [
    "http://example.com/a?b=c#d", "HTTPS://Example.com/", "hTtP://x", "", "file:///C:/Windows/System32/calc.exe",
    "C:\\Windows\\notepad.exe", "\\\\server\\share\\x.exe", "javascript:alert(1)", "mailto:a@example.com",
    "ftp://example.com/", "http:/x", "https:", "calc", "httpx://example.com", "\n   http://example.com/news\r\n  ",
    "http://example.com/a b", "http://example.com/\" --new-window \"file:///c:/", "http://example.com/\ttab",
    b"http://example.com/\x7f", "http://example.com/" + "a" * (1023 - 19), "http://example.com/" + "a" * (1024 - 19),
    b"http://127.0.0.1/\x82\xA0"]])

write("path_split", [t if isinstance(t, bytes) else t.encode() for t in [
    "C:\\Program Files\\kvt.scr", b"C:\\\x83\x5C\x83t\x83g\\kvt.scr", b"C:\\\x83\x5C", "kvt.scr", "D:kvt.scr",
    "\\\\server\\share\\kvt.scr", "C:/a/b/kvt.scr", b"C:\\\x95\x5C\\\x95"]])

STAMP_TIME = struct.pack("<q", 1715299500)  # 2024-05-10 09:05 in Japan
write("header_text", [bytes([switches]) + when + name for switches, when, name in [
    (6, STAMP_TIME, sjis("経済")), (4, STAMP_TIME, b""), (2, STAMP_TIME, sjis("経済")), (7, STAMP_TIME, b"x"),
    (6, STAMP_TIME, b"x" + KANJI * 700), (6, STAMP_TIME, b"ab" + KANJI * 510 + b"\x82"),
    (6, struct.pack("<q", -(2 ** 62)), b"far"), (14, STAMP_TIME, b"none")]])


def any_chars(*code_points):
    """Code points as the xml_writer target's converter of any characters reads them."""
    return b"".join(bytes([0x80 | c >> 14, 0x80 | c >> 7 & 0x7F, 0x80 | c & 0x7F]) for c in code_points)


def settings(switches, disp, load, font, sites):
    data = bytes([switches]) + i32(disp) + i32(load) + font + b"\0"
    for title, link, description, check in sites:
        data += title + b"\0" + link + b"\0" + description + b"\0" + (b"1" if check else b"0") + b"\0"
    return data


write("xml_writer", [
    settings(3, 5, 60, sjis("ＭＳ Ｐゴシック"), []),
    settings(0, 5, 60, b"", [(b"", b"", b"", False)]),
    settings(1, 7, 30, sjis("ＭＳ ゴシック"),
             [(sjis("一つ目"), b"http://127.0.0.1/one.xml", b"first & best", True),
              (b"Disabled", b"http://127.0.0.1/two.xml", b"second", False)]),
    settings(3, -5, 2147483647, b"\"&<>'", [(b"Q&amp;A &lt;", b"http://a/\x01", b"\t\n\r\x7F", True)]),
    # The converter of any characters: U+FFFE, a surrogate, U+1F600, then one of each
    # kind of stray bytes (see AnyPieces).
    settings(7, -2147483648, 0, any_chars(0xFFFE, 0xD800, 0x1F600) + b"\xF0\x01\xF1\x05\xF2\x77\xF3\x01\xF3\x02",
             [(any_chars(0x85, 0x2028, 0x01) + b"<&>", b"]]>", b"\x1F\xF2\x01\xF1\x33", True)]),
    settings(2, 99, 999, b"\x95\x5C\x83\x5C\x81\x40\x82", [(b"\x80\xA0\xFD\xFE\xFF", b"\x81", b"\x81\x7F", False)]),
    # A stray lead byte before each character the writer escapes.
    settings(0, 5, 60, b"a\x81\"b", [(b"\x81&", b"\x81<\x81>", b"\x81\r", True)]),
])


def layout(width, free, height, line, widths, text):
    return u16(width) + u16(free + 64) + bytes([height - 1, line - 100]) + bytes(w - 1 for w in widths) + text


write("text_layout", [
    layout(1000, 1000, 20, 100, [100] * 16, b"abcdefghij"),
    layout(44, 200, 15, 100, [100] * 16, b"abcd"),
    layout(30, 200, 10, 120, [60] * 16, b"  abc def"),
    layout(20, 100, 50, 100, [250] * 16, b"ab"),
    layout(1920, 1080, 40, 112, [30 + 7 * i for i in range(16)], sjis("今日の見出し、「速報」です。") * 20),
    layout(0, 0, 1, 100, [1] * 16, b"x" * 40),
    layout(3, -50, 1, 100, [200] * 16, b"x" * 40),
    layout(152, 112, 9, 125, [50, 60, 70, 80, 90, 100, 110, 120, 55, 65, 75, 85, 95, 105, 115, 125],
           sjis("表示するチャンネルがありません")),
])


def rotation(channels, disp, load, kinds, events):
    return bytes([channels, disp - 1]) + u16(load - 1) + bytes(kinds) + bytes(events)


# An event's low three bits; AT_ONCE's high bits say how the fetch ends (modulo 4: fails,
# empty, with items), END's the byte after it.
TICK, KEY, ENTER, END, JUMP, AT_ONCE = 0, 2, 3, 4, 5, 6
LEFT, RIGHT, UP, DOWN = (KEY | k << 3 for k in range(4))


def ticks(n):
    return [1 | (n - 1) << 3]


write("rotation", [
    rotation(2, 3, 60, [0, 0], [AT_ONCE | 10 << 3, 0, TICK] + ticks(5) + [RIGHT] + ticks(3)),
    rotation(1, 1, 60, [0], [AT_ONCE | 6 << 3, 0, TICK] + ticks(3) + [JUMP, 61] + ticks(2)),
    rotation(2, 1, 1, [0, 1], [TICK, END, 0x1E, TICK, JUMP, 1, TICK, DOWN, UP, ENTER]),
    rotation(3, 1, 60, [0, 2, 0], [TICK, END, 0x1E] + ticks(2) + [LEFT, RIGHT] + ticks(30) + [END, 0x1E] + ticks(4)),
    rotation(0, 5, 60, [], ticks(12) + [ENTER, DOWN]),
    rotation(1, 1, 60, [0], [TICK, END, 0x01, ENTER]),
    rotation(2, 1, 60, [1, 3], [AT_ONCE | 2 << 3, 0xFF, TICK, ENTER, AT_ONCE | 3 << 3, 0x07, DOWN, ENTER, LEFT, ENTER]),
])

ADD, DELETE, AT_END, ON_ROW, ORDER = range(5)


def op(kind, arg=0):
    return kind + 5 * arg


def rows(*r):
    return [len(r)] + [x & 0xFF for x in r]


write("channel_edits", [
    bytes([6, op(ON_ROW)] + rows(1, 3) + [1, 4]),
    bytes([6, op(ON_ROW)] + rows(1, 3) + [1, 0]),
    bytes([6, op(ON_ROW)] + rows(1, 3) + [1, 5]),
    bytes([6, op(ON_ROW)] + rows(1, 3) + [1, 1]),
    bytes([6, op(ON_ROW)] + rows(1, 3) + [3, 2]),
    bytes([6, op(AT_END)] + rows(1, 3)),
    bytes([6, op(DELETE)] + rows(1, 3, 4) + [op(ADD, 2), op(ADD, 40)]),
    bytes([3, op(AT_END)] + rows(7, -1, 1, 1) + [op(ON_ROW)] + rows(2, 2) + [9, 9] + [op(ORDER, 3), 2, 0, 1]),
    bytes([0, op(ADD, 1), op(ADD, 1), op(DELETE)] + rows(0, 0)),
])


def web(documents, initial, root):
    data = bytes([len(documents) - 1])
    for kind, sites in documents:
        data += bytes([kind | len(sites) << 2] + sites)
    return data + bytes([len(initial)] + initial + [root])


FEED, FAILS, LIST = 0, 1, 2
write("site_list", [
    web([(LIST, [1, 2]), (FEED, []), (FEED, [])], [], 0),
    web([(LIST, [0, 1]), (FEED, [])], [1], 0),
    web([(LIST, [1]), (LIST, [2]), (LIST, [3]), (LIST, [4]), (LIST, [5]), (LIST, [6]), (LIST, [7]), (LIST, [8]),
         (LIST, [9]), (FEED, [])], [], 0),
    web([(LIST, [1, 1, 12, 2]), (FAILS, []), (LIST, [0, 1])], [1, 1, 2], 0),
    web([(FEED, [])], [0], 0),
])


def utf16(text, codec):
    return text.encode(codec)


write("feed_intake", [
    b'<?xml version="1.0"?><!DOCTYPE rss PUBLIC "-//Netscape Communications//DTD RSS 0.91//EN" '
    b'"http://my.netscape.com/publish/formats/rss-0.91.dtd"><rss version="0.91"><channel>'
    b'<title>1 &times; 2 &hellip;</title><item><title>&eacute;t&eacute;</title></item></channel></rss>',
    b'<?xml version="1.0"?><!DOCTYPE r [<!ENTITY a "x"><!ENTITY b "&#233;"><!ENTITY c "]>"><!-- ]> --><?p ]>?>'
    b'<!ELEMENT r ANY><!ATTLIST r v CDATA "]>">]><r v="&a;">&a;&b;<![CDATA[&a;]]><!--&a;--></r>',
    b'<!DOCTYPE r [<!ENTITY l0 "lol"><!ENTITY l1 "&l0;&l0;&l0;&l0;"><!ENTITY l2 "&l1;&l1;&l1;&l1;">]><r>&l2;</r>',
    b'<!DOCTYPE r SYSTEM "http://127.0.0.1/x.dtd" [<!ENTITY % p SYSTEM "http://127.0.0.1/p"> %p; '
    b'<!ENTITY e SYSTEM "file:///etc/passwd">]><r>&e;</r>',
    b'<?xml version="1.0" encoding="Shift_JIS"?><!DOCTYPE r [<!ENTITY z "' + sjis("ゾ") + b'">]><r a="'
    + sjis("ゼ") + b'">' + sjis("ゼゾ表") + b'&z;</r>',
    utf16('<?xml version="1.0" encoding="UTF-16"?><!DOCTYPE r><r>&eacute;</r>', "utf-16"),
    b'<?xml version="1.0" encoding="EUC-JP"?><r>' + "あ".encode("euc_jp") + b'&amp;</r>',
    b'<?xml version="1.0" encoding="ISO-8859-1"?><!DOCTYPE r [<!ENTITY e "\xe9">]><r>&e;\xe9</r>',
    b'\xef\xbb\xbf<?xml version="1.0" encoding="ISO-2022-JP"?><r>x</r>',
    b'<?xml version="1.0" encoding="ISO-2022-JP"?><r>' + "あ".encode("iso2022_jp") + b'</r>',
    b'<r><!DOCT<!DOCTYPE r>YPE r SYSTEM "x"><!-<!DOCTYPE r>- &am<!DOCTYPE r>p;</r>',
    utf16("\t<r/>", "utf-16-le"),
    b'<!DOCTYPE r>\n<?xml version="1.0" encoding="UTF-7"?><r>+ADw-</r>',
])
