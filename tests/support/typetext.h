#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types `text` into `target` key by key, as QTest::keyClicks does, accented Hungarian letters
// included (keyClicks knows ASCII only). The key code of an accented letter is its capital.
inline void typeText(QWidget *target, const QString &text)
{
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClicks(target, QString(character));
        } else {
            const auto key = Qt::Key(character.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, target, key, QString(character), Qt::NoModifier);
        }
    }
}
