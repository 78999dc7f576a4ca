// Unit qAnimate: the fast 24-bit bitmap and the bitmap routines, and the colour buttons (windowed,
// and their non-windowed twins).
#pragma once
#include "suite/qAnimateFastBmp.h"
#include "suite/qAnimateColorBtn.h"
#include "suite/qAnimateNWColorBtn.h"
#include "suite/qAnimateDivider.h"
