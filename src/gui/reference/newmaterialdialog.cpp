#include "gui/reference/newmaterialdialog.h"

#include "core/data/reference/materials.h"
#include "core/messages/messenger.h"
#include "gui/ui/controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int nameLength = 30; // the width of Megnev
} // namespace

NewMaterialDialog::NewMaterialDialog(
    Messenger &messenger, ReferenceDatabase &reference, QWidget *parent)
    : QDialog(parent)
    , m_messenger(messenger)
    , m_reference(reference)
{
    setObjectName(QStringLiteral("newMaterialDialog"));
    setWindowTitle(QStringLiteral("Új tápanyag hozzáadása"));

    m_nameEdit = Controls::makeEdit(QStringLiteral("nameEdit"), this);
    m_nameEdit->setMaxLength(nameLength);
    m_nameEdit->setMinimumWidth(240);
    m_solidButton = new QRadioButton(QStringLiteral("Szilárd"), this);
    m_solidButton->setObjectName(QStringLiteral("solidButton"));
    m_solidButton->setChecked(true);
    m_liquidButton = new QRadioButton(QStringLiteral("Folyékony"), this);
    m_liquidButton->setObjectName(QStringLiteral("liquidButton"));
    m_cancelButton
        = Controls::makeButton(QStringLiteral("Mégsem"), QStringLiteral("cancelButton"), this);
    m_storeButton
        = Controls::makeButton(QStringLiteral("Rögzítés"), QStringLiteral("storeButton"), this);
    m_storeButton->setDefault(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Megnevezés:"), this), 0, 0);
    layout->addWidget(m_nameEdit, 0, 1, 1, 2);
    layout->addWidget(m_solidButton, 1, 1);
    layout->addWidget(m_liquidButton, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_storeButton);
    layout->addLayout(buttons, 2, 0, 1, 3);

    connect(m_cancelButton, &QPushButton::clicked, this, &NewMaterialDialog::reject);
    connect(m_storeButton, &QPushButton::clicked, this, &NewMaterialDialog::store);
}

bool NewMaterialDialog::store()
{
    const Outcome<qint64> added
        = Materials::addMaterial(m_reference, m_nameEdit->text(), m_liquidButton->isChecked());
    if (!added) {
        m_messenger.inform(added.refusal());
        m_nameEdit->setFocus();
        m_nameEdit->selectAll();
        return false;
    }
    m_createdId = *added;
    accept();
    return true;
}
