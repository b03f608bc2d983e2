#pragma once

#include <map>
#include <vector>

#include "support/Mixer.h"

namespace softphone::test {

// A mixer with the lines a test gives it; records every value written.
class FakeMixer : public IMixer {
public:
    struct Write {
        MixerLine line;
        long value;
    };

    // Adds a line with a level control of the given range.
    FakeMixer& WithLine(MixerLine line, long minimum, long maximum) {
        controls_[line] = {int(controls_.size()) + 1, minimum, maximum};
        return *this;
    }

    bool Open() override { return opens; }

    std::optional<MixerControl> FindControl(MixerLine line) override {
        const auto it = controls_.find(line);
        if (it == controls_.end()) return std::nullopt;
        return it->second;
    }

    std::optional<long> GetValue(const MixerControl& control) override {
        const auto it = values.find(control.id);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }

    bool SetValue(const MixerControl& control, long value) override {
        for (const auto& [line, c] : controls_) {
            if (c.id != control.id) continue;
            writes.push_back({line, value});
            values[control.id] = value;
            return true;
        }
        return false;
    }

    // The value last written to a line, or -1 when none was.
    long Last(MixerLine line) const {
        for (auto it = writes.rbegin(); it != writes.rend(); ++it)
            if (it->line == line) return it->value;
        return -1;
    }

    void SetLevel(MixerLine line, long value) { values[controls_.at(line).id] = value; }

    bool opens = true;
    std::vector<Write> writes;
    std::map<int, long> values;

private:
    std::map<MixerLine, MixerControl> controls_;
};

}  // namespace softphone::test
