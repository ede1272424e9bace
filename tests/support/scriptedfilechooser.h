#pragma once

#include "core/messages/filechooser.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

// A FileChooser for tests: answers each dialog from a queue (an empty text is "Mégse"), with
// the filter entry chosen where the caller asks for it, and records the filters it was
// shown. A dialog nobody expected fails the current test.
class ScriptedFileChooser final : public FileChooser
{
public:
    void expect(const QString &answer, int chosenFilter = -1)
    {
        m_answers.append(answer);
        m_chosenFilters.append(chosenFilter);
    }
    int pendingAnswers() const { return int(m_answers.size()); }
    const QStringList &filters() const { return m_filters; }

    QString openFileName(const QString &, const QString &, const QString &filter) override
    {
        return next(filter);
    }
    QStringList openFileNames(const QString &, const QString &, const QString &filter) override
    {
        const QString answer = next(filter);
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }
    QString saveFileName(const QString &, const QString &, const QString &filter) override
    {
        return next(filter);
    }
    QString existingDirectory(const QString &, const QString &) override { return next({}); }
    QString saveFileNameWithFilter(const QString &, const QString &, const QString &filter,
                                   int *chosenFilter) override
    {
        const int chosen = m_chosenFilters.isEmpty() ? -1 : m_chosenFilters.first();
        const QString answer = next(filter);
        if (chosenFilter)
            *chosenFilter = chosen;
        return answer;
    }

private:
    QString next(const QString &filter)
    {
        m_filters.append(filter);
        if (m_answers.isEmpty()) {
            ADD_FAILURE() << "a file dialog nobody expected";
            return {};
        }
        m_chosenFilters.removeFirst();
        return m_answers.takeFirst();
    }

    QList<QString> m_answers;
    QList<int> m_chosenFilters;
    QStringList m_filters;
};
