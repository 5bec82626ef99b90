// A user who reads every message box and answers questions as told.
#pragma once

#include <string>
#include <vector>

#include "ui/UserSide.h"

struct ShownMessage {
    enum Kind { Program, App, Question } kind;
    unsigned textId;
    std::string text;
    int number;
    MessageIcon icon;
};

class RecordingUserSide : public UserSide {
public:
    void ShowProgramMessage(const Message& m, MessageIcon icon) override {
        Record(ShownMessage::Program, m, icon);
    }
    void ShowAppMessage(const Message& m, MessageIcon icon) override {
        Record(ShownMessage::App, m, icon);
    }
    bool AskProgramQuestion(const Message& m) override {
        Record(ShownMessage::Question, m, MessageIcon::Question);
        return answer;
    }

    bool answer = true;
    std::vector<ShownMessage> shown;

private:
    void Record(ShownMessage::Kind kind, const Message& m, MessageIcon icon) {
        shown.push_back({kind, m.textId, m.text != nullptr ? m.text : "", m.number, icon});
    }
};
