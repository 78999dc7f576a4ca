// Unit qAnimate: the fast 24-bit bitmap and the bitmap routines, the colour buttons (windowed,
// and their non-windowed twins), and the bitmap controls and resource bitmap.
#pragma once
#include "suite/qAnimateFastBmp.h"
#include "suite/qAnimateColorBtn.h"
#include "suite/qAnimateNWColorBtn.h"
#include "suite/qAnimateBitmap.h"
