#pragma once

#include <QString>

#include <array>

struct PlanItems;

// One entry of the element table: a dosable element or a soil parameter, with the value the
// last loaded soil column gave it.
struct ElementEntry
{
    QString code;
    QString name;
    // Held as the double nearest to the decimal the user typed, so that a value typed
    // exactly at a rule's limit compares equal to that limit.
    double value = 0;
    bool selected = false;
    bool listsSupply = false;
    bool listsNeed = false;
};

// The fifteen entries the classification and the need computations work on: the seven
// dosable elements (entries 1–7) and eight soil parameters (8–15). Entry 0 and entries
// 16–19 stay blank.
class ElementTable
{
public:
    static constexpr int entryCount = 20;
    enum Entry {
        N = 1, P = 2, K = 3, Mg = 4, Zn = 5, Mn = 6, Cu = 7,
        Ka = 8, Ko = 9, Po = 10, Hsz = 11, SzT = 12, Fe = 13, Caco = 14, Ph = 15,
        firstUsed = 1, lastUsed = 15,
    };

    ElementTable();

    ElementEntry &entry(int index) { return m_entries[index]; }
    const ElementEntry &entry(int index) const { return m_entries[index]; }

    // The first entry among 1–15 whose code equals `code` exactly; the blank entry (value
    // 0, empty name) when none does.
    const ElementEntry &findParameter(const QString &code) const;

    // Clears the selected flag of entries 1–13.
    void clearSelection();

    // Loads soil column s (0 = the average column, grid column 1; s >= 1 sample s, grid
    // column s + 1): each parameter's cell converted from its text, a cell that is empty or
    // not a number skipped so the entry keeps its previous value; SzT is the site category
    // + 1. Then the column's sample mark becomes the current sample label.
    void loadSampleColumn(const PlanItems &items, int s);
    QString currentSampleLabel() const { return m_currentSampleLabel; }

private:
    std::array<ElementEntry, entryCount> m_entries;
    QString m_currentSampleLabel;
};
