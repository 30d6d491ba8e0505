#include "base/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrune {
namespace {

std::string AnswerText(const std::optional<BoxAnswer>& answer) {
    if (!answer) {
        return "-";
    }
    if (answer->IsOk()) {
        return "ok";
    }
    switch (*answer->Button()) {
        case ConfirmAnswer::Yes:
            return "yes";
        case ConfirmAnswer::No:
            return "no";
        case ConfirmAnswer::Cancel:
            return "cancel";
    }
    return "?";
}

struct BoxCase {
    const char* name;
    std::vector<BoxAnswer> queued;
    const char* boxes;                 // in turn: 'm' a box with only OK, 'q' the question
    std::vector<std::string> answers;  // what each box took
    std::vector<std::string> shortfalls;
    std::size_t left;  // answers still queued at the end
};

const BoxCase kBoxCases[] = {
    {"the question takes the next answer",
     {ConfirmAnswer::No, ConfirmAnswer::Yes},
     "q",
     {"no"},
     {},
     1},
    {"an empty queue cancels the question",
     {},
     "q",
     {"cancel"},
     {"no answer queued for the box \"q1\""},
     0},
    {"a box with only OK takes an OK at the front",
     {BoxAnswer::Ok(), ConfirmAnswer::Yes},
     "mq",
     {"ok", "yes"},
     {},
     0},
    {"a box with only OK leaves the question's answer",
     {ConfirmAnswer::Yes},
     "mq",
     {"-", "yes"},
     {},
     0},
    {"a box with only OK needs no answer", {}, "mm", {"-", "-"}, {}, 0},
    {"an OK does not fit the question",
     {BoxAnswer::Ok(), ConfirmAnswer::No},
     "qq",
     {"cancel", "no"},
     {"the queued answer \"ok\" does not fit the Yes/No/Cancel box \"q1\""},
     0},
};

TEST(ScriptedPlatform, BoxesTakeTheirAnswersInTurn) {
    for (const BoxCase& c : kBoxCases) {
        ScriptedPlatform platform;
        platform.confirmAnswers.assign(c.queued.begin(), c.queued.end());
        std::vector<std::string> returned;
        std::vector<RecordedMessage> messages;
        std::vector<std::string> questions;
        std::vector<std::string> texts;
        for (std::size_t i = 0; c.boxes[i] != '\0'; ++i) {
            const std::string text = std::string(1, c.boxes[i]) + std::to_string(i + 1);
            texts.push_back(text);
            if (c.boxes[i] == 'q') {
                returned.push_back(AnswerText(BoxAnswer(platform.Confirm(text))));
                questions.push_back(text);
            } else {
                platform.ShowMessage(MessageKind::Error, text);
                messages.push_back({"Error", text});
            }
        }
        std::vector<std::string> taken;
        std::vector<std::string> shown;
        for (const ShownBox& box : platform.boxes) {
            taken.push_back(AnswerText(box.answer));
            shown.push_back(box.text);
            EXPECT_EQ(box.title, box.text[0] == 'q' ? "Confirm" : "Error") << c.name;
        }
        EXPECT_EQ(taken, c.answers) << c.name;
        EXPECT_EQ(shown, texts) << c.name;
        // What the question returned is what its box records.
        std::vector<std::string> questionAnswers;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i][0] == 'q') {
                questionAnswers.push_back(c.answers[i]);
            }
        }
        EXPECT_EQ(returned, questionAnswers) << c.name;
        EXPECT_EQ(platform.messages, messages) << c.name;
        EXPECT_EQ(platform.confirmations, questions) << c.name;
        EXPECT_EQ(platform.shortfalls, c.shortfalls) << c.name;
        EXPECT_EQ(platform.confirmAnswers.size(), c.left) << c.name;
    }
}

enum class Dialog { Open, Save, Folder, Color };

struct DialogCase {
    Dialog dialog;
    const char* title;
    bool queued;  // whether an answer waits in the dialog's queue
    std::string answer;
    std::vector<std::string> shortfalls;
};

const DialogCase kDialogCases[] = {
    {Dialog::Open, "Open Preset File", true, "/p/a.zrp", {}},
    {Dialog::Open,
     "Open Preset File",
     false,
     "",
     {"no file queued for the open dialog \"Open Preset File\""}},
    {Dialog::Save, "Save As", true, "/p/b.zrp", {}},
    {Dialog::Save, "", false, "", {"no file queued for the save dialog"}},
    {Dialog::Folder, "Base folder", true, "/base", {}},
    {Dialog::Folder,
     "Base folder",
     false,
     "",
     {"no folder queued for the folder dialog \"Base folder\""}},
    {Dialog::Color, "", true, "66051", {}},
    {Dialog::Color, "", false, "", {"no colour queued for the colour dialog"}},
};

TEST(ScriptedPlatform, DialogsAnswerFromTheirQueueAndNoteAnEmptyOne) {
    for (const DialogCase& c : kDialogCases) {
        ScriptedPlatform platform;
        std::string answer;
        switch (c.dialog) {
            case Dialog::Open:
            case Dialog::Save: {
                if (c.queued) {
                    platform.fileAnswers.push_back(c.answer);
                }
                FileDialogRequest request;
                request.title = c.title;
                const auto chosen = c.dialog == Dialog::Open ? platform.OpenFileDialog(request)
                                                             : platform.SaveFileDialog(request);
                answer = chosen.value_or("");
                ASSERT_EQ(platform.fileDialogs.size(), 1u) << c.title;
                EXPECT_EQ(platform.fileDialogs[0].title, c.title);
                break;
            }
            case Dialog::Folder:
                if (c.queued) {
                    platform.folderAnswers.push_back(c.answer);
                }
                answer = platform.ChooseFolder(c.title);
                EXPECT_EQ(platform.folderTitles, std::vector<std::string>{c.title});
                break;
            case Dialog::Color:
                if (c.queued) {
                    platform.colorAnswers.push_back(0x010203);
                }
                if (const auto chosen = platform.ChooseColor(0x0000FF)) {
                    answer = std::to_string(*chosen);
                }
                EXPECT_EQ(platform.colorDialogStarts, std::vector<std::uint32_t>{0x0000FF});
                break;
        }
        EXPECT_EQ(answer, c.answer) << c.title;
        EXPECT_EQ(platform.shortfalls, c.shortfalls) << c.title;
    }
}

TEST(ScriptedPlatform, ACancelledFileDialogIsNoShortfall) {
    ScriptedPlatform platform;
    platform.fileAnswers = {std::nullopt, "/second"};
    EXPECT_EQ(platform.OpenFileDialog({}), std::nullopt);
    EXPECT_EQ(platform.SaveFileDialog({}), "/second");
    EXPECT_EQ(platform.OpenFileDialog({}), std::nullopt);
    EXPECT_EQ(platform.shortfalls, std::vector<std::string>{"no file queued for the open dialog"});
}

}  // namespace
}  // namespace kestrune
