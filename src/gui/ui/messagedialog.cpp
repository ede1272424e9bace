#include "gui/ui/messagedialog.h"

#include "gui/ui/programfont.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int clientWidth = 393;
constexpr int clientHeight = 112;
// A label wider than this no longer fits beside the icon; the frame then grows with it,
// leaving the label's left margin plus a little on the right.
constexpr int labelRoomWidth = 280;
constexpr int labelGrowthMargin = 130;

constexpr int buttonTop = 79;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 21;
// The rightmost button stands this far from the dialog's outer right edge; each further
// button one step to the left.
constexpr int firstButtonOffset = 100;
constexpr int buttonStep = 85;

} // namespace

MessageDialog::MessageDialog(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("messageDialog"));
    setWindowTitle(QStringLiteral("Mess"));
    setModal(true);

    setFont(programFont());

    // Created first so that it lies beneath the other controls.
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("frame"));
    m_frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_frame->setGeometry(0, 0, clientWidth, clientHeight);

    m_infoIcon = createIcon(QStyle::SP_MessageBoxInformation, "infoIcon");
    m_errorIcon = createIcon(QStyle::SP_MessageBoxCritical, "errorIcon");
    m_warningIcon = createIcon(QStyle::SP_MessageBoxWarning, "warningIcon");

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->move(104, 16);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("memo"));
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setGeometry(89, 13, 296, 60);

    m_buttons[Answer::Igen] = createButton(QStringLiteral("Igen"), Answer::Igen, "igenButton");
    m_buttons[Answer::Nem] = createButton(QStringLiteral("Nem"), Answer::Nem, "nemButton");
    m_buttons[Answer::Megsem]
        = createButton(QStringLiteral("Mégsem"), Answer::Megsem, "megsemButton");
    m_buttons[Answer::Ok] = createButton(QStringLiteral("Ok"), Answer::Ok, "okButton");

    m_infoIcon->hide();
    m_errorIcon->hide();
    m_warningIcon->hide();
    setDialogWidth(clientWidth + borderWidth);
}

MessageDialog::~MessageDialog() = default;

QPushButton *MessageDialog::createButton(const QString &caption, int answer, const char *name)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(0, buttonTop, buttonWidth, buttonHeight);
    // The answer is the button's own value, whatever place the button gets.
    connect(button, &QPushButton::clicked, this, [this, answer] {
        m_answer = answer;
        accept();
    });
    return button;
}

QLabel *MessageDialog::createIcon(QStyle::StandardPixmap pixmap, const char *name)
{
    auto *icon = new QLabel(this);
    icon->setObjectName(QLatin1String(name));
    icon->setGeometry(24, 23, 32, 32);
    icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(32, 32));
    return icon;
}

void MessageDialog::setDialogWidth(int width)
{
    m_dialogWidth = width;
    setFixedSize(width - borderWidth, clientHeight);
}

void MessageDialog::setFrameWidth(int width)
{
    m_frame->resize(width, clientHeight);
}

int MessageDialog::display(const QString &text, ButtonSet buttons, bool inLabel, MessageKind kind)
{
    m_answer = Answer::None;

    for (QPushButton *button : m_buttons)
        button->hide();
    m_label->hide();
    m_memo->hide();

    setFrameWidth(clientWidth);
    setDialogWidth(clientWidth + borderWidth);

    if (inLabel) {
        m_label->setText(text);
        m_label->adjustSize();
        m_label->show();
        m_memo->hide();
    } else {
        m_memo->clear();
        m_memo->setPlainText(text);
        m_memo->show();
        m_label->hide();
    }

    const ButtonFlags shown = buttonFlags(buttons);
    m_buttons[Answer::Igen]->setVisible(shown.igen);
    m_buttons[Answer::Nem]->setVisible(shown.nem);
    m_buttons[Answer::Megsem]->setVisible(shown.megsem);
    m_buttons[Answer::Ok]->setVisible(shown.ok);

    showKind(kind);

    // The buttons take their places from the width set above, before a long label widens
    // the dialog, so on a widened dialog they stay where a standard one has them.
    placeButtons();

    if (!m_label->isHidden() && m_label->width() > labelRoomWidth) {
        const int frameWidth = m_label->width() + labelGrowthMargin;
        setFrameWidth(frameWidth);
        setDialogWidth(frameWidth + borderWidth);
    }

    focusFirstButton();
    if (m_modalRunner) {
        show();
        m_modalRunner(*this);
        hide();
    } else {
        exec();
    }
    return m_answer;
}

void MessageDialog::showKind(MessageKind kind)
{
    QLabel *icon = nullptr;
    QString caption;
    switch (kind) {
    case MessageKind::Information:
        icon = m_infoIcon;
        caption = QStringLiteral("Információ");
        break;
    case MessageKind::Error:
        icon = m_errorIcon;
        caption = QStringLiteral("Hiba");
        break;
    case MessageKind::Warning:
        icon = m_warningIcon;
        caption = QStringLiteral("Figyelem");
        break;
    default:
        break;
    }

    m_infoIcon->setVisible(icon == m_infoIcon);
    m_errorIcon->setVisible(icon == m_errorIcon);
    m_warningIcon->setVisible(icon == m_warningIcon);
    // Without a kind the caption stays the previous message's.
    if (icon)
        setWindowTitle(caption);
}

void MessageDialog::placeButtons()
{
    int offset = firstButtonOffset;
    for (int answer : {Answer::Ok, Answer::Megsem, Answer::Nem, Answer::Igen}) {
        QPushButton *button = m_buttons[answer];
        if (button->isHidden())
            continue;
        button->move(m_dialogWidth - offset, buttonTop);
        offset += buttonStep;
    }
}

void MessageDialog::focusFirstButton()
{
    // Enter answers with the first shown button of the row, as a keyboard user expects of
    // "Igen" in a question and of "Ok" in a notice.
    for (QPushButton *button : m_buttons) {
        if (!button->isHidden()) {
            button->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
