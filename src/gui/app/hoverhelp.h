#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QString>

class QLabel;
class QWidget;

// The mouse-over help of the main window: while the pointer is over a control, the status
// line shows the control's help text (looked up by its object name), input fields and grids
// get a light blue background and buttons and check boxes an underlined caption.
class HoverHelp final : public QObject
{
    Q_OBJECT

public:
    static QColor highlightColour() { return {179, 245, 251}; }

    // `texts` maps control names to help texts.
    HoverHelp(QLabel *statusLabel, QHash<QString, QString> texts, QObject *parent = nullptr);

    // Watches every input control and button inside `root`, those created later excepted:
    // call it again after adding controls (a control is never watched twice).
    void watch(QWidget *root);

    void controlMouseEnter(QWidget *control);
    void controlMouseLeave(QWidget *control);

    QString helpText(const QString &controlName) const { return m_texts.value(controlName); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Kind { None, Field, Button };
    static Kind kindOf(const QWidget *control);

    QLabel *m_statusLabel;
    QHash<QString, QString> m_texts;
};
