// Unit qEdit: the framed edit box and the controls that share its frame (memo, list box, combo
// box, and the colour and font pickers over the last two), flat check boxes and radio buttons in
// the frame's styles, and the button and spin edits.
#pragma once
#include "suite/qEditFrame.h"
#include "suite/qEditLists.h"
#include "suite/qEditColor.h"
#include "suite/qEditFont.h"
#include "suite/qEditFlatBtn.h"
#include "suite/qEditSpin.h"
