#include <alsa/asoundlib.h>

#include <vector>

#include "support/Mixer.h"

namespace softphone {
namespace {

enum class Direction { Playback, Capture };

struct ElementName {
    const char* name;
    Direction direction;
};

// The simple-mixer elements that stand for each line, the preferred one first.
std::vector<ElementName> elementsFor(MixerLine line) {
    if (line == MixerLine::Speaker) return {{"Master", Direction::Playback}};
    return {{"Capture", Direction::Capture}, {"Mic", Direction::Capture}};
}

struct FoundControl {
    snd_mixer_elem_t* element;
    Direction direction;
};

class AlsaMixer : public IMixer {
public:
    ~AlsaMixer() override {
        if (handle_) snd_mixer_close(handle_);
    }

    bool open() override {
        // alsa-lib reports a missing card on stderr; the caller tells the user instead.
        snd_lib_error_set_handler(quiet);
        if (snd_mixer_open(&handle_, 0) != 0) {
            handle_ = nullptr;
            return false;
        }
        if (snd_mixer_attach(handle_, "default") != 0 ||
            snd_mixer_selem_register(handle_, nullptr, nullptr) != 0 ||
            snd_mixer_load(handle_) != 0) {
            snd_mixer_close(handle_);
            handle_ = nullptr;
            return false;
        }
        return true;
    }

    std::optional<MixerControl> findControl(MixerLine line) override {
        if (!handle_) return std::nullopt;
        for (const ElementName& candidate : elementsFor(line)) {
            snd_mixer_elem_t* element = find(candidate.name);
            const bool playback = candidate.direction == Direction::Playback;
            if (!element || !(playback ? snd_mixer_selem_has_playback_volume(element)
                                       : snd_mixer_selem_has_capture_volume(element)))
                continue;
            MixerControl control;
            if (playback)
                snd_mixer_selem_get_playback_volume_range(element, &control.minimum,
                                                          &control.maximum);
            else
                snd_mixer_selem_get_capture_volume_range(element, &control.minimum,
                                                         &control.maximum);
            found_.push_back({element, candidate.direction});
            control.id = int(found_.size());
            return control;
        }
        return std::nullopt;
    }

    std::optional<long> getValue(const MixerControl& control) override {
        const FoundControl* found = lookup(control);
        if (!found) return std::nullopt;
        // Values can change behind our back (the desktop's own volume control): fetch them.
        snd_mixer_handle_events(handle_);
        const auto channel = SND_MIXER_SCHN_FRONT_LEFT;
        long value = 0;
        const int status =
            found->direction == Direction::Playback
                ? snd_mixer_selem_get_playback_volume(found->element, channel, &value)
                : snd_mixer_selem_get_capture_volume(found->element, channel, &value);
        if (status != 0) return std::nullopt;
        return value;
    }

    bool setValue(const MixerControl& control, long value) override {
        const FoundControl* found = lookup(control);
        if (!found) return false;
        return (found->direction == Direction::Playback
                    ? snd_mixer_selem_set_playback_volume_all(found->element, value)
                    : snd_mixer_selem_set_capture_volume_all(found->element, value)) == 0;
    }

private:
    static void quiet(const char*, int, const char*, int, const char*, ...) {}

    snd_mixer_elem_t* find(const char* name) {
        snd_mixer_selem_id_t* id;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, name);
        return snd_mixer_find_selem(handle_, id);
    }

    const FoundControl* lookup(const MixerControl& control) const {
        if (!handle_ || control.id < 1 || control.id > int(found_.size())) return nullptr;
        return &found_[control.id - 1];
    }

    snd_mixer_t* handle_ = nullptr;
    std::vector<FoundControl> found_;
};

}  // namespace

std::unique_ptr<IMixer> createAlsaMixer() { return std::make_unique<AlsaMixer>(); }

}  // namespace softphone
