#pragma once

#include "core/messages/filechooser.h"

class QWidget;

// The file chooser of the program: the desktop's open and save dialogs. Filters are given
// as "Description|pattern" and shown as "Description (pattern)".
class DialogFileChooser final : public FileChooser
{
public:
    explicit DialogFileChooser(QWidget *parent = nullptr) : m_parent(parent) {}

    // "Tápanyag-gazdálkodási terv (.tap)|*.tap" → "Tápanyag-gazdálkodási terv (*.tap)",
    // "Web Page (HTML)|*.html;*.htm" → "Web Page (HTML) (*.html *.htm)".
    static QString dialogFilter(const QString &filter);

    QString openFileName(const QString &caption, const QString &directory,
                         const QString &filter) override;
    QStringList openFileNames(const QString &caption, const QString &directory,
                              const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &directory,
                         const QString &filter) override;
    QString existingDirectory(const QString &caption, const QString &directory) override;
    QString saveFileNameWithFilter(const QString &caption, const QString &directory,
                                   const QString &filter, int *chosenFilter) override;

private:
    QWidget *m_parent;
};
