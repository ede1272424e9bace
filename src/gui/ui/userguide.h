#pragma once

#include <QString>

class Messenger;

// The user guide hasznalati.pdf: opened in the desktop's own PDF viewer when the file is there;
// otherwise, or when the desktop cannot open it, the message that tells where it belongs.
class UserGuide
{
public:
    static void open(const QString &path, Messenger &messenger);
    // Where the guide of the running program lies: beside it, or in <prefix>/share/nutrisor.
    static QString programGuidePath();
};
