// Telling a sound-only file, or a container of pictures, by its first bytes, so that the control
// can answer the host's question for a picture before the medium has been opened.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of the file's start that the test reads.
constexpr std::size_t kMediaHeaderBytes = 12;

// Whether the bytes open a container that carries sound and never a picture: RIFF WAVE and
// RIFF RMID, MPEG audio (with or without an ID3 tag), FLAC, MIDI, AIFF and Sun audio.
bool IsSoundOnlyHeader(const std::uint8_t* bytes, std::size_t size);

// Whether the bytes open a container that usually carries a picture: RIFF AVI, ASF, an MPEG program
// or video stream, QuickTime and MP4, Matroska and WebM, RealMedia.
bool IsPictureContainerHeader(const std::uint8_t* bytes, std::size_t size);
