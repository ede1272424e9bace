#pragma once

#include <QString>

// The HTML of the recommendation memos, kept to the few elements a formatted text needs, so
// that a memo can carry no script, no link and nothing fetched from elsewhere into a
// printed or exported report.
namespace Text {

// The memo's markup with only p, br, b, strong, i, em, u, ul, ol, li, table, thead, tbody,
// tr, td and th left (td and th keep a numeric colspan and rowspan up to 100, nothing else
// keeps an attribute); script and style go with their content, any other element leaves its
// text. Every element is closed and the text escaped again, its entities decoded first; the
// paragraphs memoToRichText writes come out unchanged.
QString sanitizeMemoHtml(const QString &html);

// A memo as it is stored: HTML sanitised; RTF and plain text as they are (both are escaped
// when printed). HTML that sanitising leaves without a leading tag is kept as one paragraph,
// so it is still read as HTML.
QString storedMemo(const QString &memo);

} // namespace Text
