#pragma once

#include <map>
#include <vector>

#include "support/Mixer.h"

namespace softphone::test {

// A mixer with the controls a test gives it; records every value written.
class FakeMixer : public IMixer {
public:
    struct Write {
        MixerComponent line;
        MixerControlKind kind;
        long value;
    };

    // Adds a line with a volume control of the given range and, optionally, a mute control.
    FakeMixer& WithLine(MixerComponent line, long minimum, long maximum, bool mute = true) {
        controls_[{line, MixerControlKind::Volume}] = {NextId(), minimum, maximum};
        if (mute) controls_[{line, MixerControlKind::Mute}] = {NextId(), 0, 1};
        return *this;
    }

    bool Open() override { return opens; }

    std::optional<MixerControl> FindControl(MixerComponent line, MixerControlKind kind) override {
        lookups.push_back({line, kind, 0});
        const auto it = controls_.find({line, kind});
        if (it == controls_.end()) return std::nullopt;
        return it->second;
    }

    std::optional<long> GetValue(const MixerControl& control) override {
        const auto it = values.find(control.id);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }

    bool SetValue(const MixerControl& control, long value) override {
        for (const auto& [key, c] : controls_) {
            if (c.id != control.id) continue;
            writes.push_back({key.first, key.second, value});
            values[control.id] = value;
            return true;
        }
        return false;
    }

    // The value last written to a line's control, or -1 when none was.
    long Last(MixerComponent line, MixerControlKind kind = MixerControlKind::Volume) const {
        for (auto it = writes.rbegin(); it != writes.rend(); ++it)
            if (it->line == line && it->kind == kind) return it->value;
        return -1;
    }

    void SetLevel(MixerComponent line, long value) {
        values[controls_.at({line, MixerControlKind::Volume}).id] = value;
    }

    bool opens = true;
    std::vector<Write> lookups;  // value unused
    std::vector<Write> writes;
    std::map<int, long> values;

private:
    int NextId() { return int(controls_.size()) + 1; }
    std::map<std::pair<MixerComponent, MixerControlKind>, MixerControl> controls_;
};

}  // namespace softphone::test
