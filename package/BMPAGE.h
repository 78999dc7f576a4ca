// Unit BMPAGE: the owner-drawn page control (TBMPageControl), its pages (TBMTabSheet) and the
// module whose timer flashes their hot tabs.
#pragma once

#include "package/BMPageModule.h"
#include "package/BMPageControl.h"
#include "package/BMTabSheet.h"
