// Design-time registration of the suite: a Register routine per module, each in a scope of its
// own, all placing their components on the suite's palette page.
#pragma once

inline constexpr const char* SuitePalettePage = "Suite";

namespace MystdReg { void Register(); }
namespace qEditReg { void Register(); }
namespace qAnimateReg { void Register(); }
namespace Std2Reg { void Register(); }
namespace BlendReg { void Register(); }
namespace qBtn2Reg { void Register(); }
namespace qPanel2Reg { void Register(); }

// Every module's routine (Qhelper has no components).
void RegisterSuite();
