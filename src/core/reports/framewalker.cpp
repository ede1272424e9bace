#include "core/reports/framewalker.h"

#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace {

void collectParagraphs(QTextFrame::iterator it, const QTextFrame::iterator &end,
                       QList<QTextBlock> &blocks)
{
    for (; it != end; ++it) {
        if (const QTextFrame *child = it.currentFrame())
            collectParagraphs(child->begin(), child->end(), blocks);
        else
            blocks << it.currentBlock();
    }
}

} // namespace

void FrameWalker::walkFrame(const QTextFrame &frame)
{
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            if (const auto *table = qobject_cast<const QTextTable *>(child))
                writeTable(*table);
            else
                walkFrame(*child);
        } else {
            writeParagraph(it.currentBlock());
        }
    }
}

QList<QTextBlock> FrameWalker::cellParagraphs(const QTextTableCell &cell)
{
    QList<QTextBlock> blocks;
    collectParagraphs(cell.begin(), cell.end(), blocks);
    return blocks;
}

bool FrameWalker::isBulleted(const QTextList &list)
{
    const QTextListFormat::Style style = list.format().style();
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
           || style == QTextListFormat::ListSquare;
}
