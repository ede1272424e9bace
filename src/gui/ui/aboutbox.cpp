#include "gui/ui/aboutbox.h"

#include "gui/ui/programfont.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *centredLabel(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("Szofver információk"));

    setFont(programFont());

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    QLabel *title = centredLabel(QStringLiteral("Nutrisor"), QStringLiteral("titleLabel"), panel);
    QFont titleFont = title->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    title->setFont(titleFont);

    QLabel *version
        = centredLabel(QStringLiteral("Verzió: 2.12"), QStringLiteral("versionLabel"), panel);
    QLabel *basis = centredLabel(
        QStringLiteral("talaj- és levélminták alapján"), QStringLiteral("basisLabel"), panel);
    QLabel *maker = centredLabel(
        QStringLiteral("Nutrisor fejlesztőcsapat"), QStringLiteral("makerLabel"), panel);
    QLabel *contact = centredLabel(
        QStringLiteral("nutrisor@example.hu"), QStringLiteral("contactLabel"), panel);
    // The address can be copied into a mail program.
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(24, 16, 24, 16);
    panelLayout->setSpacing(4);
    panelLayout->addWidget(title);
    panelLayout->addWidget(version);
    panelLayout->addSpacing(8);
    panelLayout->addWidget(basis);
    panelLayout->addSpacing(12);
    panelLayout->addWidget(maker);
    panelLayout->addWidget(contact);

    auto *okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(panel);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
