#include "gui/steps/resultnotes.h"

#include <QTextDocument>

#include <algorithm>
#include <cmath>

ResultNotes::ResultNotes(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("resultNotes"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setOpenLinks(false);
    viewport()->setAutoFillBackground(false);
    document()->setDocumentMargin(2);
}

void ResultNotes::setNotes(const QList<ListNote> &notes)
{
    m_notes = notes;
    QString html;
    for (const ListNote &note : notes) {
        const QString text = note.text.toHtmlEscaped();
        html += note.isWarning
            ? QStringLiteral("<p style=\"margin:0\"><b><span style=\"color:#a00000\">") + text
                + QStringLiteral("</span></b></p>")
            : QStringLiteral("<p style=\"margin:0\">") + text + QStringLiteral("</p>");
    }
    setHtml(html);
    setVisible(!notes.isEmpty());
}

int ResultNotes::heightFor(int width) const
{
    if (m_notes.isEmpty())
        return 0;
    QTextDocument *layout = document()->clone();
    layout->setTextWidth(width - 2 * frameWidth());
    const int height = int(std::ceil(layout->size().height())) + 2 * frameWidth();
    delete layout;
    return std::min(height, tallestHeight);
}
