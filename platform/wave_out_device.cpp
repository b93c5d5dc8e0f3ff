#include "platform/wave_out_device.h"

namespace platform {

namespace {

const char* KnownErrorText(WaveResult code) {
  switch (code) {
    case kWaveNoError:
      return "The specified command was carried out.";
    case kWaveError:
      return "Undefined external error.";
    case kWaveBadDeviceId:
      return "A device ID has been used that is out of range for your system.";
    case kWaveNotEnabled:
      return "The driver was not enabled.";
    case kWaveAllocated:
      return "The specified device is already in use. Wait until it is free, and then try "
             "again.";
    case kWaveInvalidHandle:
      return "The specified device handle is invalid.";
    case kWaveNoDriver:
      return "There is no driver installed on your system.";
    case kWaveNoMemory:
      return "There is not enough memory available for this task. Quit one or more "
             "applications to increase available memory, and then try again.";
    case kWaveNotSupported:
      return "This function is not supported. Use the Capabilities function to determine which "
             "functions and messages the driver supports.";
    case kWaveBadErrorNumber:
      return "An error number was specified that is not defined in the system.";
    case kWaveInvalidFlag:
      return "An invalid flag was passed to a system function.";
    case kWaveInvalidParam:
      return "An invalid parameter was passed to a system function.";
    case kWaveBadFormat:
      return "The specified format is not supported or cannot be translated. Use the "
             "Capabilities function to determine the supported formats.";
    case kWaveStillPlaying:
      return "Cannot perform this operation while media data is still playing. Reset the "
             "device, or wait until the data is finished playing.";
    case kWaveUnprepared:
      return "The wave header was not prepared. Use the Prepare function to prepare the "
             "header, and then try again.";
    case kWaveSync:
      return "Cannot open the device without using the WAVE_ALLOWSYNC flag. Use the flag, and "
             "then try again.";
    default:
      return nullptr;
  }
}

}  // namespace

std::string WaveOutErrorText(WaveResult code) {
  const char* text = KnownErrorText(code);
  return text != nullptr ? text : KnownErrorText(kWaveBadErrorNumber);
}

// Input and output calls share one set of result numbers and texts.
std::string WaveInErrorText(WaveResult code) { return WaveOutErrorText(code); }

WaveHandle NextWaveHandle() {
  // Starts well above 0 so that a handle is never mistaken for a small device number.
  static std::atomic<WaveHandle> next{0x1000};
  WaveHandle h = next.fetch_add(1);
  while (h == 0) h = next.fetch_add(1);
  return h;
}

WaveResult CheckWaveFormat(const WaveFormat& format) {
  return WaveFormatProblem(format).empty() ? kWaveNoError : kWaveBadFormat;
}

std::string WaveFormatProblem(const WaveFormat& format) {
  constexpr uint32_t kMaxRate = 768000;
  if (format.format_tag != kWaveFormatPcm &&
      !(format.format_tag == kWaveFormatExtensible && format.sub_format_pcm)) {
    return "format tag " + std::to_string(format.format_tag) + " is not PCM";
  }
  const uint16_t bits = format.bits_per_sample;
  if (bits != 8 && bits != 16 && bits != 24) {
    return std::to_string(bits) + " bits per sample (8, 16 or 24 play)";
  }
  const uint16_t ch = format.channels;
  if (ch != 1 && ch != 2 && ch != 6 && ch != 8) {
    return std::to_string(ch) + " channels (1, 2, 6 or 8 play)";
  }
  if (format.block_align != ch * (bits / 8)) {
    return "block size " + std::to_string(format.block_align) + " for " + std::to_string(ch) +
           " channels of " + std::to_string(bits) + " bits";
  }
  if (format.samples_per_sec < 1 || format.samples_per_sec > kMaxRate) {
    return "sample rate " + std::to_string(format.samples_per_sec) + " outside 1 to " +
           std::to_string(kMaxRate);
  }
  return {};
}

WaveResult PrepareWaveHeader(WaveHeader* header) {
  if (header == nullptr) return kWaveInvalidParam;
  header->flags.fetch_or(kWaveHeaderPrepared);
  return kWaveNoError;
}

WaveResult UnprepareWaveHeader(WaveHeader* header) {
  if (header == nullptr) return kWaveInvalidParam;
  if ((header->flags.load() & kWaveHeaderInQueue) != 0) return kWaveStillPlaying;
  header->flags.fetch_and(~kWaveHeaderPrepared);
  return kWaveNoError;
}

WaveResult CheckWaveWrite(const WaveHeader* header) {
  if (header == nullptr) return kWaveInvalidParam;
  const uint32_t flags = header->flags.load();
  if ((flags & kWaveHeaderPrepared) == 0) return kWaveUnprepared;
  if ((flags & kWaveHeaderInQueue) != 0) return kWaveStillPlaying;
  return kWaveNoError;
}

}  // namespace platform
