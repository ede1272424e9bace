#pragma once

#include "core/messages/filechooser.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

// A FileChooser for tests: answers each dialog from a queue (an empty text is "Mégse") and
// records the filters it was shown. A dialog nobody expected fails the current test.
class ScriptedFileChooser final : public FileChooser
{
public:
    void expect(const QString &answer) { m_answers.append(answer); }
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

private:
    QString next(const QString &filter)
    {
        m_filters.append(filter);
        if (m_answers.isEmpty()) {
            ADD_FAILURE() << "a file dialog nobody expected";
            return {};
        }
        return m_answers.takeFirst();
    }

    QList<QString> m_answers;
    QStringList m_filters;
};
