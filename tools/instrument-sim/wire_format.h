// The numbers of the wire format and of the line, named once. Everything here is a fact of the
// instrument's serial protocol (see README.md, "The line" and "Frames"); changing one changes
// the bytes on the wire.
#pragma once

#include <cstdint>

namespace instrument_sim {

// --- Frames (instrument to computer) ---

// Starts a frame, and again block B. No other frame byte is 255 unless a fault asks for it.
inline constexpr std::uint8_t kSync = 255;

// Block A: byte 0 is kBlockAPosition0 (not a sample), then the samples 0..250.
inline constexpr int kBlockALength = 252;
inline constexpr int kSampleCount = kBlockALength - 1;  // 251 A-scan samples
inline constexpr std::uint8_t kBlockAPosition0 = 254;   // stored by the receiver, copied nowhere

// The byte between block A and the second sync byte (the carriage return of the instrument).
inline constexpr std::uint8_t kSeparator = 13;

// Noise and filler bytes are drawn from 0..kLastNonSyncByte, so that they are never a sync byte.
inline constexpr int kLastNonSyncByte = kSync - 1;  // 254

// Block B: settings, readouts, DAC points (and the report header on the TFT model).
inline constexpr int kTftBlockBLength = 716;  // a TFT frame is 1 + 252 + 1 + 1 + 716 = 971 bytes
inline constexpr int kDacBlockBLength = 557;  // a DAC frame is 1 + 252 + 1 + 1 + 557 = 812 bytes
inline constexpr int kLongestBlockBLength =
    kTftBlockBLength > kDacBlockBLength ? kTftBlockBLength : kDacBlockBLength;

// The first record index that block B carries (the ZERO setting). Record indexes 0..250 travel
// in block A, 251..259 in no frame. (The receiver also counts its raw positions so that block-B
// byte k lies at raw position 260 + k; this code only needs the record index.)
inline constexpr int kBlockBFirstRecordIndex = 260;

// --- Commands (computer to instrument) ---

// A command block: one command character followed by kCommandBlockLength - 1 filler characters.
inline constexpr int kCommandBlockLength = 22;
inline constexpr char kCommandFiller = 'Z';

// --- The line ---

// Nominal line speed (9600 baud, 8 data bits, no parity, 1 stop bit).
inline constexpr int kDefaultBaud = 9600;
// Bits on the line per byte: start bit, 8 data bits, stop bit. At 9600 baud a byte takes 1.04 ms.
inline constexpr int kBitsPerByte = 10;

}  // namespace instrument_sim
