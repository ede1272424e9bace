#pragma once

#include <QString>

// The formatted memos of the recommendation texts as rich text (HTML that QTextDocument
// shows and prints). A memo written as RTF keeps its paragraphs, line breaks, bold,
// italic and underlined runs and its accented letters; any other memo is plain text whose
// lines become paragraphs.
namespace Text {

bool isRtf(const QString &memo);

// HTML paragraphs for the memo; an empty memo gives empty text.
QString memoToRichText(const QString &memo);

} // namespace Text
