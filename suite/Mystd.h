// Unit Mystd: the suite's shared routines and types.
#pragma once
#include "suite/MystdRoutines.h"
#include "suite/MystdCalc.h"
#include "suite/MystdHintWindow.h"
#include "suite/MystdLabels.h"
#include "suite/MystdShowApp.h"
#include "suite/MystdTray.h"
#include "suite/MystdMovePanel.h"
#include "suite/MystdTabListbox.h"
#include "suite/MystdTitleBar.h"
