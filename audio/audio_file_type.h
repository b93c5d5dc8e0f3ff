#pragma once

#include <string>

namespace audio {

// The type word the graph builder picks its decoder chain by. A RIFF file is typed by its format
// tag alone, whether or not it is playable: 1 "wav", 0x50 "mp2", 0x55 "mp3", 0x160/0x161
// "wmariff". Any other tag, and a file that is no wave file, gives the path's extension in lower
// case without its dot ("" when the name has none).
std::string GetAudioFileType(const std::string& path);

}  // namespace audio
