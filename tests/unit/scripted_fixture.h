// Records every message box the program shows through the scripted framework.
#pragma once

#include <string>
#include <vector>

#include "framework/scripted/scripted.h"

class RecordedMessages {
public:
    RecordedMessages() {
        scripted::Reset();
        scripted::SetMessageSink([this](const scripted::ShownMessage& m) { m_shown.push_back(m); });
    }
    ~RecordedMessages() { scripted::Reset(); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const scripted::ShownMessage& m : m_shown) {
            texts.push_back(m.text);
        }
        return texts;
    }
    const std::vector<scripted::ShownMessage>& All() const { return m_shown; }

private:
    std::vector<scripted::ShownMessage> m_shown;
};
