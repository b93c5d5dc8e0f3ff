#pragma once

#include <cstdint>
#include <string>

namespace audio {

// The one player object the playout main window owns: a C_WaveOut (PlayerType 0) or a C_FGraph
// (PlayerType 1). The window talks to either through this interface; members only one player has
// (C_WaveOut's FromSample/ToSample, ProgressionPlay and set-up values, C_FGraph's DevMode,
// DevName, PlaySpeed) live on the concrete classes.
//
// Naming: a property read is the property's own name (`FileName()`), a property write is `Set`
// followed by the name (`SetFileName(...)`). Methods keep their names (`Play`, `StopIO`, ...),
// and so does the lower-case `mode()`. Every member is called on the UI thread only and never
// throws.
class Player {
 public:
  // What mode() answers.
  enum PlayMode : int32_t {
    kModeEnded = 0,    // the graph player's file ran to its end (read once; stopped after)
    kModeStopped = 1,  // loaded or not, not playing
    kModePaused = 2,
    kModePlaying = 3,  // the waveOut player also while Play restarts and StopIO's silence runs
  };

  virtual ~Player() = default;

  // Builds the player's working state from the set-up values written before it.
  virtual void Init() = 0;

  // Write loads the file for play (start and end points are reset); read gives the loaded file's
  // name, empty when nothing could be loaded.
  virtual std::string FileName() const = 0;
  virtual void SetFileName(const std::string& name) = 0;

  // Play window in ms. ToMS 0 written means "to the end" on the waveOut player; after a load the
  // end point is the file's length.
  virtual int32_t FromMS() const = 0;
  virtual void SetFromMS(int32_t ms) = 0;
  virtual int32_t ToMS() const = 0;
  virtual void SetToMS(int32_t ms) = 0;

  // Length of the loaded file in ms, 0 with nothing loaded.
  virtual int32_t Length() const = 0;

  // Balance, -10000 (left only) .. 10000 (right only).
  virtual int32_t PanValue() = 0;
  virtual void SetPanValue(int32_t value) = 0;

  // 0 = full level, negative = quieter, in hundredths of a dB. The waveOut player's floor is
  // -4000 by default, the graph player's -10000; see each class for what reads back.
  virtual int32_t Attenuation() = 0;
  virtual void SetAttenuation(int32_t value) = 0;

  // Lowest attenuation level (negative, hundredths of a dB).
  virtual void SetVolMinLevel(int32_t value) = 0;

  // Starts playing the loaded file from FromMS; true only when the play started.
  virtual bool Play() = 0;
  // Toggles between paused and playing.
  virtual void Pause() = 0;
  // Stops the play. pNoMute 0: the waveOut player plays its short closing silence first; 1 stops
  // at once. The graph player ignores the argument.
  virtual void StopIO(int32_t pNoMute = 0) = 0;

  // pMode 0: elapsed ms; 1: ms to the end of the file; 2: ms to the end point. The waveOut player
  // answers mode 2 (remaining play time); the graph player's end-point watch may stop the play.
  virtual int32_t Position(int32_t pMode = 0) = 0;

  // A PlayMode: kModePlaying while playing, any other not.
  virtual int32_t mode() = 0;

  // Stops and releases the output and the file (at shutdown).
  virtual void CloseWave() = 0;
};

}  // namespace audio
