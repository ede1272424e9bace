#pragma once

#include <QString>

class QIODevice;

// The settings of the program that config.ini, a fixed binary layout, has no room for. They
// live in a small text file of their own beside it, UTF-8, one "name=value" line each; a
// missing file, a missing line or a value that is not understood gives the default, and
// lines of other names are left out when the file is written again.
struct ProgramSettings
{
    // The nitrate action programme: the warnings under the corrected doses and the
    // remainder, and the summary's section. Off for advisers whose fields all lie outside
    // nitrate-sensitive areas.
    bool nitrateChecks = true;

    static ProgramSettings read(QIODevice &device);
    static ProgramSettings readFile(const QString &path);
    bool write(QIODevice &device) const;
    // Replaces the file whole; false with a text for the user when it cannot be written.
    bool writeFile(const QString &path, QString *error = nullptr) const;
};
