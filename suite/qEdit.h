// Unit qEdit: the framed edit box and the controls that share its frame (memo, list box, combo
// box), flat check boxes and radio buttons in the frame's styles, and the button and spin edits.
#pragma once
#include "suite/qEditFrame.h"
#include "suite/qEditLists.h"
#include "suite/qEditFlatBtn.h"
#include "suite/qEditSpin.h"
