// Media files the tests make themselves: a PCM wave, a one-note MIDI file and an uncompressed
// 64 by 48 video whose frames alternate red and green; and the sound capture of tools/wine-env.
#pragma once
#include "vcl/Win.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace mediafixtures {

inline void Put16(std::string& S, uint32_t V) {
  S += char(V & 0xFF);
  S += char((V >> 8) & 0xFF);
}
inline void Put32(std::string& S, uint32_t V) {
  Put16(S, V & 0xFFFF);
  Put16(S, V >> 16);
}
inline void PutBE16(std::string& S, uint32_t V) {
  S += char((V >> 8) & 0xFF);
  S += char(V & 0xFF);
}
inline void PutBE32(std::string& S, uint32_t V) {
  PutBE16(S, V >> 16);
  PutBE16(S, V & 0xFFFF);
}
// A RIFF chunk (padded to an even size).
inline std::string Chunk(const char* Id, const std::string& Body) {
  std::string S(Id, 4);
  Put32(S, uint32_t(Body.size()));
  S += Body;
  if (Body.size() % 2) S += '\0';
  return S;
}
inline std::string List(const char* Type, const std::string& Body) { return Chunk("LIST", std::string(Type, 4) + Body); }

// The samples of the wave: 8-bit mono at 8000 per second, a pattern that differs per sample.
inline std::string WaveSamples(int Count) {
  std::string S(size_t(Count), '\0');
  for (int I = 0; I < Count; ++I) S[size_t(I)] = char(uint8_t(I * 7 + (I >> 8) * 3 + 11));
  return S;
}

// A wave of Ms milliseconds (0.5 s by default).
inline std::string Wave(int Ms = 500) {
  std::string Fmt;
  Put16(Fmt, 1);     // PCM
  Put16(Fmt, 1);     // mono
  Put32(Fmt, 8000);  // samples per second
  Put32(Fmt, 8000);  // bytes per second
  Put16(Fmt, 1);     // block align
  Put16(Fmt, 8);     // bits per sample
  return Chunk("RIFF", "WAVE" + Chunk("fmt ", Fmt) + Chunk("data", WaveSamples(8 * Ms)));
}

// One track, one middle C of half a second (480 ticks a quarter note at the default tempo).
inline std::string Midi() {
  std::string Track;
  Track += std::string("\x00\x90\x3C\x64", 4);  // note on
  Track += std::string("\x83\x60\x80\x3C\x40", 5);  // 480 ticks later, note off
  Track += std::string("\x00\xFF\x2F\x00", 4);  // end of track
  std::string S = "MThd";
  PutBE32(S, 6);
  PutBE16(S, 0);    // format 0
  PutBE16(S, 1);    // one track
  PutBE16(S, 480);  // ticks per quarter note
  S += "MTrk";
  PutBE32(S, uint32_t(Track.size()));
  return S + Track;
}

constexpr int VideoWidth = 64, VideoHeight = 48, VideoFrames = 10, VideoFps = 10;
// The colour ($00BBGGRR) of frame I of the video: red, green, red, ...
inline uint32_t FrameColor(int I) { return I % 2 == 0 ? 0x0000FF : 0x00FF00; }

// An uncompressed 32-bit video of VideoFrames frames at VideoFps, without a sound stream.
// (Wine's video device shows this file's frames 4 bytes out of place, which 24-bit pixels show
// as other colours and 32-bit ones do not.)
inline std::string Avi() {
  constexpr int Bits = 32;
  const uint32_t FrameBytes = VideoWidth * VideoHeight * (Bits / 8), Us = 1000000 / VideoFps;
  std::string Avih;
  Put32(Avih, Us);                   // microseconds per frame
  Put32(Avih, FrameBytes * VideoFps);  // max bytes per second
  Put32(Avih, 0);                    // padding granularity
  Put32(Avih, 0x10);                 // AVIF_HASINDEX
  Put32(Avih, VideoFrames);
  Put32(Avih, 0);                    // initial frames
  Put32(Avih, 1);                    // streams
  Put32(Avih, FrameBytes);           // suggested buffer size
  Put32(Avih, VideoWidth);
  Put32(Avih, VideoHeight);
  for (int I = 0; I < 4; ++I) Put32(Avih, 0);
  std::string Strh = "vidsDIB ";
  Put32(Strh, 0);            // flags
  Put16(Strh, 0);            // priority
  Put16(Strh, 0);            // language
  Put32(Strh, 0);            // initial frames
  Put32(Strh, 1);            // scale
  Put32(Strh, VideoFps);     // rate
  Put32(Strh, 0);            // start
  Put32(Strh, VideoFrames);  // length
  Put32(Strh, FrameBytes);   // suggested buffer size
  Put32(Strh, 0xFFFFFFFF);   // quality
  Put32(Strh, 0);            // sample size
  Put16(Strh, 0);
  Put16(Strh, 0);
  Put16(Strh, VideoWidth);
  Put16(Strh, VideoHeight);
  std::string Strf;
  Put32(Strf, 40);
  Put32(Strf, VideoWidth);
  Put32(Strf, VideoHeight);
  Put16(Strf, 1);   // planes
  Put16(Strf, uint32_t(Bits));  // bits
  Put32(Strf, 0);   // BI_RGB
  Put32(Strf, FrameBytes);
  for (int I = 0; I < 4; ++I) Put32(Strf, 0);
  const std::string Hdrl = List("hdrl", Chunk("avih", Avih) + List("strl", Chunk("strh", Strh) + Chunk("strf", Strf)));
  std::string Movi, Idx;
  for (int F = 0; F < VideoFrames; ++F) {
    const uint32_t C = FrameColor(F);
    std::string Px;
    for (int P = 0; P < VideoWidth * VideoHeight; ++P) {
      Px += char((C >> 16) & 0xFF);  // blue
      Px += char((C >> 8) & 0xFF);   // green
      Px += char(C & 0xFF);          // red
      Px += '\0';
    }
    Idx += "00db";
    Put32(Idx, 0x10);                       // AVIIF_KEYFRAME
    Put32(Idx, uint32_t(4 + Movi.size()));  // from the "movi" type
    Put32(Idx, FrameBytes);
    Movi += Chunk("00db", Px);
  }
  return Chunk("RIFF", "AVI " + Hdrl + List("movi", Movi) + Chunk("idx1", Idx));
}

// Bytes that no device reads as media.
inline std::string Garbage() {
  std::string S;
  for (int I = 0; I < 3000; ++I) S += char(uint8_t(I * 131 + 17));
  return S;
}

inline bool WriteBytes(const std::string& Path, const std::string& Bytes) {
  std::FILE* F = std::fopen(Path.c_str(), "wb");
  if (!F) return false;
  const bool Ok = std::fwrite(Bytes.data(), 1, Bytes.size(), F) == Bytes.size();
  return std::fclose(F) == 0 && Ok;
}

inline std::string ReadBytes(const std::string& Path) {
  std::string S;
  if (std::FILE* F = std::fopen(Path.c_str(), "rb")) {
    char Buf[4096];
    for (size_t N; (N = std::fread(Buf, 1, sizeof Buf, F)) > 0;) S.append(Buf, N);
    std::fclose(F);
  }
  return S;
}

// Where tools/wine-env's sound device writes what it plays ("" outside it), as a Windows path.
inline std::string CapturePath() {
  char Buf[1024] = {};
  const DWORD N = GetEnvironmentVariableA("ORVALEN_SOUND_CAPTURE", Buf, sizeof Buf);
  if (N == 0 || N >= sizeof Buf) return "";
  std::string P = Buf;
  if (!P.empty() && P[0] == '/') P = "Z:" + P;
  for (char& C : P)
    if (C == '/') C = '\\';
  return P;
}

}  // namespace mediafixtures
