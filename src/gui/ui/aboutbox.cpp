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

QString sourcesText()
{
    return QStringLiteral(
        "<p><b>A beépített alapadatok forrásai</b></p>"
        "<p><b>Forrásból:</b> a tápanyag-ellátottsági határok, a fajlagos tápanyagigények, az "
        "őszi–tavaszi megosztás nagyobb része, a növénylista és a nitrátérzékeny területek "
        "N-korlátai a grbeno/szaktan_con nyilvános adattár táblázataiból (a hazai szántóföldi "
        "szaktanácsadási rendszer táblái; hogy melyik kiadás számai, azt nem sikerült "
        "igazolni). A gyümölcsfajok levélanalízisének optimális tartományai a Washington State "
        "University Tree Fruit táblázatából, a termésnövelő anyagok hatóanyag-tartalma a "
        "névleges összetételből vagy a vegyület képletéből.</p>"
        "<p><b>Nitrát cselekvési program:</b> az N-korlátok (Segédadatok / Nitrátérzékeny "
        "terület N-korlátai) a 59/2008. (IV. 29.) FVM rendelet cselekvési programjának "
        "felépítését követik, számaikat a rendelet mellékletével nem sikerült egyeztetni; a "
        "tilalmi időszak (október 31. – február 15.) és az őszi gabonák február 1-jétől "
        "megengedett fejtrágyázása a rendelet szövegéből.</p>"
        "<p><b>Bemutató adatok</b> (nem hivatalos szaktanácsadási értékek): a levéltartalom "
        "hiányos, magas és túlzott határai, a meggy és a szüretkori minták határai, a "
        "forrásból hiányzó megosztási sorok, a súgó- és javaslatszövegek, a minta "
        "szaktanácsadó és a minta levélanalízis-eredmények.</p>"
        "<p>A részletes forrásjegyzék a program forrásában: "
        "resources/reference/SOURCES.md.</p>");
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

    QLabel *version = centredLabel(QStringLiteral("Verzió: ") + QStringLiteral(NUTRISOR_VERSION),
        QStringLiteral("versionLabel"), panel);
    QLabel *basis = centredLabel(
        QStringLiteral("talaj- és levélminták alapján"), QStringLiteral("basisLabel"), panel);
    const QString licence = QStringLiteral(NUTRISOR_LICENSE);
    QLabel *licenceLabel = centredLabel(QStringLiteral("Licenc: ")
            + (licence.isEmpty() ? QStringLiteral("nincs megadva") : licence),
        QStringLiteral("licenceLabel"), panel);

    // Where the reference data built into the program come from, after the source notes kept
    // beside those data (SOURCES.md).
    auto *sources = new QLabel(sourcesText(), panel);
    sources->setObjectName(QStringLiteral("sourcesLabel"));
    sources->setTextFormat(Qt::RichText);
    sources->setWordWrap(true);
    sources->setFixedWidth(380);

    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(24, 16, 24, 16);
    panelLayout->setSpacing(4);
    panelLayout->addWidget(title);
    panelLayout->addWidget(version);
    panelLayout->addSpacing(8);
    panelLayout->addWidget(basis);
    panelLayout->addWidget(licenceLabel);
    panelLayout->addSpacing(12);
    panelLayout->addWidget(sources);

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
