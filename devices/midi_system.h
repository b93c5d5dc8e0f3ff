#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace devices {

// The system's MIDI devices, behind a seam so that the ports can be driven by a scripted
// system in tests. Short messages travel as their bytes out and, coming in, packed with the
// status in bits 0-7, the first data byte in bits 8-15 and the second in bits 16-23.

class MidiOutConnection {
 public:
  virtual ~MidiOutConnection() = default;
  // Sends one complete short message (1 to 3 bytes); false when the system refused it.
  virtual bool Send(std::span<const uint8_t> bytes) = 0;
};

class MidiInConnection {
 public:
  virtual ~MidiInConnection() = default;
  // Appends every short message that arrived since the last call, oldest first. Never waits.
  virtual void Drain(std::vector<uint32_t>& messages) = 0;
};

class MidiSystem {
 public:
  virtual ~MidiSystem() = default;
  // Names of the devices that can be read from (input) or written to; device i is entry i.
  virtual std::vector<std::string> DeviceNames(bool input) = 0;
  // Connects to device `deviceId` of that list; null when there is no such device or the
  // system refuses.
  virtual std::unique_ptr<MidiOutConnection> OpenOutput(int32_t deviceId) = 0;
  virtual std::unique_ptr<MidiInConnection> OpenInput(int32_t deviceId) = 0;
};

// Packs up to three bytes of a short message as they come in.
inline uint32_t PackShortMessage(uint8_t status, uint8_t data1, uint8_t data2) {
  return uint32_t{status} | uint32_t{data1} << 8 | uint32_t{data2} << 16;
}

}  // namespace devices
