#include "audio/view/wave_device_combo.h"

#include <QComboBox>

#include "audio/wave_devices.h"
#include "foundation/device_names.h"
#include "platform/wave_out_backend.h"

namespace audio {

void FillWaveDeviceCombo(QComboBox* box, int32_t input, const std::string& name,
                         int32_t selectFirst) {
  if (box == nullptr) return;
  box->clear();
  const std::shared_ptr<platform::WaveOutDevice> device = platform::CurrentWaveOut();
  if (!device) return;
  const std::vector<std::string> names = WaveDeviceNames(*device, input);
  if (names.empty()) return;
  for (const std::string& entry : names) box->addItem(QString::fromStdString(entry));
  int32_t index = foundation::FindDeviceNameInList(names, name);
  if (index < 0 && selectFirst != 0) index = 0;
  box->setCurrentIndex(index);
}

}  // namespace audio
