// Unit qPanel2: the credit scroll, analog clock, needle meter and spectrum level panels.
#pragma once
#include "suite/qPanel2AnalogClock.h"
#include "suite/qPanel2CreditScroll.h"
#include "suite/qPanel2DinMeter.h"
#include "suite/qPanel2Spectrum.h"
