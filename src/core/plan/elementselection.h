#pragma once

#include "core/plan/elements.h"

#include <QList>

class ElementTable;
struct PlanItems;

// Step 1: which elements the plan covers, and what follows from the choice.
namespace ElementSelection {

// The micro elements computed from a macro element's result follow it: Réz and Mangán
// follow Nitrogén, Cink follows Foszfor, Magnézium follows Kálium. Empty for the others.
QList<Elements::Element> dependants(Elements::Element macro);

// A click on a check box: a macro element passes its state on to its dependants (their
// boxes are enabled exactly while it is ticked).
void applyLinkage(PlanItems &items, Elements::Element clicked);
// Whether the box of `element` may be changed by the user: false for a dependant whose
// macro element is unticked.
bool isEditable(const PlanItems &items, Elements::Element element);

// The soil-table rows (2–11) that a ticked element needs filled in; empty for Kén,
// Molibdén and Bór.
QList<int> requiredRows(Elements::Element element);

// The element-table entry an element selects (N 1 … Cu 7, Fe 13); 0 for Kén, Molibdén, Bór.
int elementTableEntry(Elements::Element element);

// Rewrites the row labels of the soil table, starring (" *") the rows the ticked elements
// need, and sets the selected flags of the element table from the ticks. Completing step 1
// is the caller's part.
void applyElementSelection(PlanItems &items, ElementTable &elements);
// Only the selected flags, the row labels left as they are (leaving the step-1 box).
void applySelectedFlags(const PlanItems &items, ElementTable &elements);

} // namespace ElementSelection
