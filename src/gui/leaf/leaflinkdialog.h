#pragma once

#include "core/leaf/leafregister.h"

#include <QDialog>
#include <QList>

class Messenger;
class Plan;
class QPushButton;
class QTableWidget;
class ReferenceDatabase;

// The box "Talajminták és levélminták összekapcsolása": the plan's soil columns, the leaf
// samples of the register and the links between them. Pairing and removing change the
// plan's links at once, so they are saved with the plan.
class LeafLinkDialog final : public QDialog
{
    Q_OBJECT

public:
    LeafLinkDialog(Plan &plan, const ReferenceDatabase &reference, Messenger &messenger,
                   QWidget *parent = nullptr);

    // "Levélanalízis" → "Talajminták - levélminták összekapcsolása": the box, modal.
    static void open(Plan &plan, const ReferenceDatabase &reference, Messenger &messenger,
                     QWidget *parent);

    // "->> Kijelötltek párosítása ->>": links the selected soil column to the selected leaf
    // sample; a plan that holds as many links as a file can takes no more.
    void addLink();
    // "összekapcsolás törlése": removes the selected link.
    void removeLink();

private:
    QTableWidget *makeGrid(const char *name, const QStringList &headings);
    void fillSoilList();
    void fillLeafList();
    void fillLinks();
    void updateButtons();

    Plan &m_plan;
    Messenger &m_messenger;
    QList<LeafSample> m_samples; // in the order of the leaf list

    QTableWidget *m_soilList = nullptr;
    QTableWidget *m_leafList = nullptr;
    QTableWidget *m_linkGrid = nullptr;
    QPushButton *m_pairButton = nullptr;
    QPushButton *m_removeButton = nullptr;
};
