#pragma once

#include <QString>
#include <QStringList>

// The open and save dialogs behind one small interface, so that the workflows can be
// driven by tests. An empty result (or list) means the user cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    virtual QString openFileName(const QString &caption, const QString &directory,
                                 const QString &filter) = 0;
    virtual QStringList openFileNames(const QString &caption, const QString &directory,
                                      const QString &filter) = 0;
    virtual QString saveFileName(const QString &caption, const QString &directory,
                                 const QString &filter) = 0;
    virtual QString existingDirectory(const QString &caption, const QString &directory) = 0;

    // The save dialog that also tells which entry of `filter` ("Description|pattern|…") the
    // user chose, counting from 0, in `chosenFilter`: -1 when the chooser cannot tell.
    virtual QString saveFileNameWithFilter(const QString &caption, const QString &directory,
                                           const QString &filter, int *chosenFilter)
    {
        if (chosenFilter)
            *chosenFilter = -1;
        return saveFileName(caption, directory, filter);
    }
};
