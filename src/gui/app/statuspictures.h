#pragma once

#include "core/plan/plan.h"

#include <QPixmap>

// The pictures beside the step buttons: a grey lock for a step not yet available, an arrow
// for the step to do now, a tick for a finished step.
QPixmap stepStatePicture(Plan::StepState state);
