#pragma once

#include "core/plan/resulttable.h"

#include <QTextBrowser>

// The lines under a list in the result box, such as the nitrate action programme's limits
// under the corrected doses: remarks in the window's text colour, warnings in dark red and
// bold. Long notes scroll inside their few lines, so the list above keeps its room.
class ResultNotes final : public QTextBrowser
{
    Q_OBJECT

public:
    static constexpr int tallestHeight = 120;

    explicit ResultNotes(QWidget *parent = nullptr);

    void setNotes(const QList<ListNote> &notes);
    bool isEmpty() const { return m_notes.isEmpty(); }
    const QList<ListNote> &notes() const { return m_notes; }
    // The height the notes take at `width`, at most tallestHeight; 0 without notes.
    int heightFor(int width) const;

private:
    QList<ListNote> m_notes;
};
