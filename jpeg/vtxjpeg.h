// vtxjpeg: JPEG compressor and decompressor components over libjpeg, and the JPEG bitmap class
// registered as the picture format for "jpg" and "jpeg".
#pragma once

#include "jpeg/JPEGBase.h"
#include "jpeg/JPEGCompressor.h"
#include "jpeg/JPEGDecompressor.h"
#include "jpeg/JPEGBitmap.h"
