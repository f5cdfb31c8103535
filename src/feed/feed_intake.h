#pragma once
// Every document the program reads, feed or settings file, passes through here before
// the platform's XML object sees it. The object would otherwise read a DOCTYPE: on
// Windows it fetches external DTDs and entities (any file or share a feed names), and
// everywhere it expands internal entities without bound (a 65 KB feed can become a
// 250-million-character title). So the intake
//  - refuses an empty document and one over kMaxDocumentBytes;
//  - makes the markup plain ASCII bytes (see ToAsciiMarkup), refusing what it cannot;
//  - removes every DOCTYPE, with its external identifier and internal subset;
//  - rewrites the references the object can then no longer resolve as numeric
//    character references: HTML 4.01's character entities (&eacute;, &hellip;) and the
//    document's own entities whose text is one character or one character reference.
//    XML's five predefined entities stay; any other reference stays as it is, and the
//    object refuses the document as not well-formed.
// Comments, CDATA sections and processing instructions pass unchanged. The result is
// never longer than four times the document and a few bytes, so neither is the text
// the object returns.
#include "feed/document_encoding.h"

#include <cstddef>
#include <string>

constexpr std::size_t kMaxDocumentBytes = std::size_t(16) << 20;

enum class IntakeResult {
    kReady,
    kEmpty,
    kTooLarge,
    kUnreadableEncoding,
};

// The bytes to hand to the XML object into `ready`, or why there are none.
IntakeResult PrepareDocument(const std::string& document, CodePageConverter convert, std::string* ready);
