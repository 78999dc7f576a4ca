// Unit qAnimate: the fast 24-bit bitmap and the bitmap routines, the colour buttons (windowed,
// and their non-windowed twins), the bitmap controls and resource bitmap, and the shape button.
#pragma once
#include "suite/qAnimateFastBmp.h"
#include "suite/qAnimateColorBtn.h"
#include "suite/qAnimateNWColorBtn.h"
#include "suite/qAnimateBitmap.h"
#include "suite/qAnimateShapeBtn.h"
#include "suite/qAnimateDivider.h"
