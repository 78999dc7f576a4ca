// Design-time registration of the JPEG image components.
#pragma once

inline constexpr const char* JPEGPalettePage = "JPEG";

namespace vtxjpegReg { void Register(); }
