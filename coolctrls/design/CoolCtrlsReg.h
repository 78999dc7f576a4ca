// Design-time registration of the cool controls: a Register routine per unit, each in a scope of
// its own, both placing their components on the library's palette page.
#pragma once

inline constexpr const char* CoolCtrlsPalettePage = "CoolCtrls";

namespace CoolCtrlsReg { void Register(); }
namespace CoolUtilsReg { void Register(); }

// Both units' routines.
void RegisterCoolCtrls();
