#pragma once
// The HTML subset of the news texts turned into an RTF document for the rich-edit control.
//
// Only the text between <body> and </body> is used. Understood there: <b> <i> <u> and their end
// tags, <br>, <p> and </p>, <font face= color= size=> and </font>, <a ...> and </a>, and the entities
// &amp; &lt; &gt; &quot; &nbsp; &copy; &reg; and &#n;. Any other tag is written as protected text
// (copied literally when link tags are kept). There is no nesting: every closing tag returns to the
// defaults. The result holds only 8-bit code units apart from characters copied from the input.
#include "storage/Text.h"

// Replaces `rtf` with the document for `html` and returns it. With `keepLinkTags` the <a> tags (and
// every other unknown tag) stay in the text as protected characters.
const WString& HtmlToRtf(WStringView html, WString& rtf, bool keepLinkTags);
