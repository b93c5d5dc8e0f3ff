#include "devices/alsa_midi_system.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

#include <optional>

namespace devices {

namespace {

// Longest message the decoder hands over: short messages are at most 3 bytes, and a longer
// one (system exclusive) is not ours to read.
constexpr size_t kDecodeBytes = 16;

struct SeqCloser {
  void operator()(snd_seq_t* seq) const { snd_seq_close(seq); }
};
using SeqPtr = std::unique_ptr<snd_seq_t, SeqCloser>;

struct CoderCloser {
  void operator()(snd_midi_event_t* coder) const { snd_midi_event_free(coder); }
};
using CoderPtr = std::unique_ptr<snd_midi_event_t, CoderCloser>;

struct PortAddress {
  int client = 0;
  int port = 0;
  std::string name;
};

SeqPtr OpenSeq(int streams, const std::string& clientName) {
  snd_seq_t* seq = nullptr;
  if (snd_seq_open(&seq, "default", streams, SND_SEQ_NONBLOCK) < 0) return nullptr;
  SeqPtr owned(seq);
  snd_seq_set_client_name(seq, clientName.c_str());
  return owned;
}

// The ports of other processes' clients that can be subscribed to for reading (input) or
// writing. This process's own connections are clients too, and are left out so that opening
// one does not move the devices' numbers.
std::vector<PortAddress> ListPorts(snd_seq_t* seq, bool input) {
  const unsigned int wanted = input ? SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ
                                    : SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
  std::vector<PortAddress> ports;
  snd_seq_client_info_t* client = nullptr;
  snd_seq_port_info_t* port = nullptr;
  snd_seq_client_info_alloca(&client);
  snd_seq_port_info_alloca(&port);
  const int self = snd_seq_client_id(seq);
  const int pid = static_cast<int>(::getpid());
  snd_seq_client_info_set_client(client, -1);
  while (snd_seq_query_next_client(seq, client) >= 0) {
    const int id = snd_seq_client_info_get_client(client);
    if (id == SND_SEQ_CLIENT_SYSTEM || id == self || snd_seq_client_info_get_pid(client) == pid)
      continue;
    snd_seq_port_info_set_client(port, id);
    snd_seq_port_info_set_port(port, -1);
    while (snd_seq_query_next_port(seq, port) >= 0) {
      const unsigned int caps = snd_seq_port_info_get_capability(port);
      if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT) != 0) continue;
      ports.push_back({id, snd_seq_port_info_get_port(port), snd_seq_port_info_get_name(port)});
    }
  }
  return ports;
}

std::optional<PortAddress> FindPort(snd_seq_t* seq, bool input, int32_t deviceId) {
  const std::vector<PortAddress> ports = ListPorts(seq, input);
  if (deviceId < 0 || static_cast<size_t>(deviceId) >= ports.size()) return std::nullopt;
  return ports[static_cast<size_t>(deviceId)];
}

class AlsaOut final : public MidiOutConnection {
 public:
  AlsaOut(SeqPtr seq, CoderPtr encoder, int port)
      : seq_(std::move(seq)), encoder_(std::move(encoder)), port_(port) {}

  bool Send(std::span<const uint8_t> bytes) override {
    snd_midi_event_reset_encode(encoder_.get());
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    const long used =
        snd_midi_event_encode(encoder_.get(), bytes.data(), static_cast<long>(bytes.size()), &ev);
    if (used <= 0 || ev.type == SND_SEQ_EVENT_NONE) return false;
    snd_seq_ev_set_source(&ev, port_);
    snd_seq_ev_set_subs(&ev);
    snd_seq_ev_set_direct(&ev);
    return snd_seq_event_output_direct(seq_.get(), &ev) >= 0;
  }

 private:
  SeqPtr seq_;
  CoderPtr encoder_;
  int port_;
};

class AlsaIn final : public MidiInConnection {
 public:
  AlsaIn(SeqPtr seq, CoderPtr decoder) : seq_(std::move(seq)), decoder_(std::move(decoder)) {}

  void Drain(std::vector<uint32_t>& messages) override {
    for (;;) {
      snd_seq_event_t* ev = nullptr;
      const int r = snd_seq_event_input(seq_.get(), &ev);
      if (r == -ENOSPC) continue;  // the pool ran over; what is left still comes in order
      if (r < 0 || ev == nullptr) return;
      unsigned char bytes[kDecodeBytes];
      const long n = snd_midi_event_decode(decoder_.get(), bytes, sizeof bytes, ev);
      if (n < 1 || n > 3 || bytes[0] < 0x80) continue;
      messages.push_back(PackShortMessage(bytes[0], n > 1 ? bytes[1] : 0, n > 2 ? bytes[2] : 0));
    }
  }

 private:
  SeqPtr seq_;
  CoderPtr decoder_;
};

CoderPtr NewCoder() {
  snd_midi_event_t* coder = nullptr;
  if (snd_midi_event_new(kDecodeBytes, &coder) < 0) return nullptr;
  // Every message comes out with its own status byte.
  snd_midi_event_no_status(coder, 1);
  return CoderPtr(coder);
}

}  // namespace

std::vector<std::string> AlsaMidiSystem::DeviceNames(bool input) {
  std::vector<std::string> names;
  SeqPtr seq = OpenSeq(SND_SEQ_OPEN_DUPLEX, clientName_);
  if (!seq) return names;
  for (const PortAddress& p : ListPorts(seq.get(), input)) names.push_back(p.name);
  return names;
}

std::unique_ptr<MidiOutConnection> AlsaMidiSystem::OpenOutput(int32_t deviceId) {
  SeqPtr seq = OpenSeq(SND_SEQ_OPEN_OUTPUT, clientName_);
  if (!seq) return nullptr;
  const std::optional<PortAddress> target = FindPort(seq.get(), false, deviceId);
  CoderPtr encoder = NewCoder();
  if (!target || !encoder) return nullptr;
  const int port = snd_seq_create_simple_port(
      seq.get(), "out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (port < 0 || snd_seq_connect_to(seq.get(), port, target->client, target->port) < 0)
    return nullptr;
  return std::make_unique<AlsaOut>(std::move(seq), std::move(encoder), port);
}

std::unique_ptr<MidiInConnection> AlsaMidiSystem::OpenInput(int32_t deviceId) {
  SeqPtr seq = OpenSeq(SND_SEQ_OPEN_INPUT, clientName_);
  if (!seq) return nullptr;
  const std::optional<PortAddress> source = FindPort(seq.get(), true, deviceId);
  CoderPtr decoder = NewCoder();
  if (!source || !decoder) return nullptr;
  const int port = snd_seq_create_simple_port(
      seq.get(), "in", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (port < 0 || snd_seq_connect_from(seq.get(), port, source->client, source->port) < 0)
    return nullptr;
  return std::make_unique<AlsaIn>(std::move(seq), std::move(decoder));
}

}  // namespace devices
