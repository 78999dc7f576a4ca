// Unit Mystd: the suite's shared routines and types.
#pragma once
#include "suite/MystdRoutines.h"
#include "suite/MystdLabels.h"
#include "suite/MystdMovePanel.h"
#include "suite/MystdTabListbox.h"
#include "suite/MystdTitleBar.h"
