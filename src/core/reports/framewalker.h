#pragma once

#include <QList>
#include <QTextBlock>

class QTextFrame;
class QTextList;
class QTextTable;
class QTextTableCell;

// Walks the frames of a text document in reading order for a writer of another format: each
// paragraph outside a table goes to writeParagraph(), each table to writeTable(), and frames
// that are not tables are walked through. The writers differ only in what they make of these.
class FrameWalker
{
public:
    virtual ~FrameWalker() = default;

    void walkFrame(const QTextFrame &frame);

    // The paragraphs of a cell in reading order; a table nested in the cell gives its cells'.
    static QList<QTextBlock> cellParagraphs(const QTextTableCell &cell);

    // Whether a list marks its items with a bullet rather than a number or letter.
    static bool isBulleted(const QTextList &list);

protected:
    virtual void writeParagraph(const QTextBlock &block) = 0;
    virtual void writeTable(const QTextTable &table) = 0;
};
