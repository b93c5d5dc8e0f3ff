#pragma once

#include <cstdint>
#include <string>

class QComboBox;

namespace audio {

// Fills a combo box with the process's output devices (input nonzero: input devices), entry i
// being device i, and selects the entry the settings' `name` picks (exact name first, then a
// match without numbering; see FindDeviceNameInList). Nothing picked: entry 0 when selectFirst
// is nonzero and there are devices, else no selection. No devices: the box stays empty.
void FillWaveDeviceCombo(QComboBox* box, int32_t input, const std::string& name,
                         int32_t selectFirst);

}  // namespace audio
