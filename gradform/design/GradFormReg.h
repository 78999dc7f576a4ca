// Design-time registration of the gradient form.
#pragma once

inline constexpr const char* GradFormPalettePage = "GradForm";

// The unit's one class is a form: a base for new forms, on no palette page, but streamable.
namespace GradFormReg { void Register(); }
