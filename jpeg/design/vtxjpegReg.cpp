#include "jpeg/design/vtxjpegReg.h"
#include "jpeg/vtxjpeg.h"

void vtxjpegReg::Register() {
  RegisterComponents(JPEGPalettePage,
                     {TJPEGStreamCompressor::StaticClass(), TJPEGFileCompressor::StaticClass(),
                      TJPEGStreamDecompressor::StaticClass(), TJPEGFileDecompressor::StaticClass()});
}
