// Unit qAnimate: the fast 24-bit bitmap and the bitmap routines, and the colour buttons.
#pragma once
#include "suite/qAnimateFastBmp.h"
