#include "audio/wave_devices.h"

#include "foundation/app_globals.h"
#include "foundation/device_names.h"
#include "foundation/text_fields.h"
#include "foundation/user_dialogs.h"
#include "platform/ascii_text.h"
#include "platform/dialog_service.h"
#include "platform/wave_out_backend.h"

namespace audio {

std::vector<std::string> WaveDeviceNames(platform::WaveOutDevice& device, int32_t input) {
  const int32_t count = input != 0 ? device.InNumDevs() : device.NumDevs();
  std::vector<std::string> names;
  for (int32_t i = 0; i < count; ++i) {
    platform::WaveDeviceCaps caps;
    const platform::WaveResult result =
        input != 0 ? device.GetInDevCaps(i, &caps) : device.GetDevCaps(i, &caps);
    names.push_back(result == platform::kWaveNoError
                        ? std::string(platform::TrimBlanks(foundation::TrimNulls(caps.name)))
                        : std::string());
  }
  return names;
}

int32_t FindWaveDeviceByName(platform::LogSink& log, int32_t input, const std::string& name,
                             int32_t messageFlag) {
  const std::shared_ptr<platform::WaveOutDevice> device = platform::CurrentWaveOut();
  const std::vector<std::string> names =
      device ? WaveDeviceNames(*device, input) : std::vector<std::string>();
  if (const std::optional<int32_t> number = foundation::DeviceNumberForName(names, name))
    return *number;

  if (messageFlag == 1) {
    foundation::MsgBoxCentered(std::string(kDeviceNotFoundText) + "\r\n" + name,
                               platform::kMbOk | platform::kMbIconStop,
                               foundation::Globals().ProgramTitle, nullptr);
  }
  log.Write(std::string(kDeviceNotFoundText) + " " + name, platform::LogSeverity::kInfo);
  return -1;
}

int32_t ShowWaveError(platform::LogSink& sink, int32_t code, int32_t output, int32_t log) {
  if (code == 0) return 0;
  const std::string text =
      output != 0 ? platform::WaveOutErrorText(code) : platform::WaveInErrorText(code);
  if (log != 0) {
    sink.Write(text, platform::LogSeverity::kError);
  } else {
    foundation::MsgBoxCentered(text, platform::kMbOk, foundation::Globals().ProgramTitle, nullptr);
  }
  return 1;
}

}  // namespace audio
