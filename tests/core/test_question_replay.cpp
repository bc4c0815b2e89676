// Questions for a face that cannot block: each step runs again from the state before it with
// the answers given so far, and stops at the first message without one. What the user sees
// and what the session ends with must be what a blocking prompter with the same answers gives.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FirmwareBuilder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/QuestionReplay.h"
#include "core/Session.h"
#include "core/firmware/HexWriter.h"
#include "core/pages/PageAction.h"
#include "core/pages/servo/CurveFiles.h"
#include "core/pages/servo/KornelPage.h"

using namespace hz;
using hz::test::FirmwareBuilder;
using hz::test::ScriptedPrompter;

namespace {

using Step = std::function<void(Session&)>;

// The browser's part: run the step, show the pending message, pick an answer, run it again,
// until it is done. Every message must come exactly once, after those already answered.
struct Face {
    QuestionReplay replay;
    std::vector<Answer> answers;
    std::vector<Question> shown; // every message the user saw, in order
    int calls = 0;

    // Runs `step` call by call until it is done. A message with one button is clicked away; a
    // question gets the next of `picks`, or the button that changes nothing once they run out.
    ReplayResult answerAll(bool open, const Step& step, const std::vector<Answer>& picks)
    {
        answers.clear();
        shown.clear();
        std::size_t picked = 0;
        for (calls = 1;; ++calls) {
            ReplayResult r = open ? replay.open(answers, step) : replay.run(answers, step);
            // The messages already answered come back answered, in the order they were shown.
            EXPECT_EQ(r.messages.size(), answers.size());
            for (std::size_t k = 0; k < r.messages.size() && k < shown.size(); ++k) {
                EXPECT_EQ(r.messages[k].text, shown[k].text) << "message " << k << " changed between tries";
                EXPECT_EQ(r.messages[k].answer, answers[k]);
            }
            if (r.done())
                return r;
            const Question& q = *r.question;
            shown.push_back(q);
            if (!isQuestion(q.buttons))
                answers.push_back(answersOf(q.buttons).front());
            else if (picked < picks.size())
                answers.push_back(picks[picked++]);
            else
                answers.push_back(answerThatChangesNothing(q.buttons));
            if (calls > 20) {
                ADD_FAILURE() << "the step never ends";
                return r;
            }
        }
    }
    // How many of the messages shown offered a choice.
    std::size_t questions() const
    {
        std::size_t n = 0;
        for (const Question& q : shown)
            n += isQuestion(q.buttons) ? 1 : 0;
        return n;
    }
};

std::vector<Question> questionsOf(const ScriptedPrompter& p)
{
    std::vector<Question> q;
    for (const auto& m : p.shown)
        q.push_back({m.kind, m.text, m.buttons});
    return q;
}

// What the editor keeps of a file: memory, ID and configuration, and the lines a save writes.
struct Image {
    FirmwareImage::Memory memory;
    std::string id;
    std::array<std::string, 4> config;
    bool operator==(const Image&) const = default;
};
Image imageOf(const Session& s) { return {s.image.memory(), s.image.IdText, s.image.ConfigWords}; }

// A servo decoder whose curve page keeps a working copy (without EEPROM: its load tells so once).
FirmwareBuilder servoFirmware()
{
    FirmwareBuilder b;
    b.identifier(0xD3).signature(hz::test::kMotW8);
    for (int e = 0; e < 512; ++e)
        b.words[0x500 + e] = 0x3400 | (e % 128 < 100 ? e % 100 : 10);
    return b;
}

Step loadLines(const std::vector<std::string>& lines)
{
    return [lines](Session& s) {
        s.keepHistory();
        s.LoadLines(lines, "decoder.hex");
    };
}

Step action(const std::string& text)
{
    return [text](Session& s) {
        std::string error;
        std::vector<pages::LimitedInput> limited;
        EXPECT_TRUE(pages::ApplyPageActionAndLeave(s.shownPages(), text, error, limited)) << error;
        s.noteEdit();
    };
}

const char* const kDraw = "servo_Image1=draw:26,100;78,150;104,50";

} // namespace

// A file without ID and configuration asks twice while it loads (after the messages that tell
// what is missing, clicked away one by one); a damaged line adds a warning. Answered call by call, the user sees the
// same messages in the same order as with a blocking prompter, each once, and the loaded file is the same.
TEST(QuestionReplay, ALoadAnsweredCallByCallIsTheBlockingLoad)
{
    struct Case {
        const char* what;
        bool damaged, withId, withConfig;
        std::vector<Answer> picks; // the answers to the questions, in order
        std::size_t questions;
        bool loads;
    };
    const Case cases[] = {
        {"ID and config missing, go on, standard config", false, false, false, {Answer::Ignore, Answer::Yes}, 2, true},
        {"ID and config missing, go on without", false, false, false, {Answer::Ignore, Answer::Ignore}, 2, true},
        {"ID missing, stop at once", false, false, true, {Answer::Cancel}, 1, false},
        {"damaged line, then the ID", true, false, true, {Answer::Ignore}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FirmwareBuilder fw = servoFirmware();
        fw.withId = c.withId;
        fw.withConfig = c.withConfig;
        std::vector<std::string> lines = fw.lines();
        if (c.damaged)
            lines[1].back() = lines[1].back() == '0' ? '1' : '0'; // a wrong checksum

        Face face;
        const ReplayResult r = face.answerAll(true, loadLines(lines), c.picks);
        ASSERT_TRUE(r.done());
        EXPECT_EQ(face.questions(), c.questions);
        EXPECT_EQ(face.calls, static_cast<int>(face.shown.size()) + 1);

        // A blocking prompter given the same answers shows the same messages.
        ScriptedPrompter blocking;
        for (Answer a : face.answers)
            blocking.answers.push_back(a);
        Session reference(blocking);
        const bool referenceLoads = reference.LoadLines(lines, "decoder.hex") == LoadOutcome::Done;
        EXPECT_EQ(face.shown, questionsOf(blocking));
        ASSERT_NE(face.replay.session(), nullptr);
        EXPECT_EQ(referenceLoads, c.loads);
        EXPECT_EQ(face.replay.session()->SaveEnabled, referenceLoads);
        if (referenceLoads) {
            EXPECT_TRUE(imageOf(*face.replay.session()) == imageOf(reference));
            ASSERT_TRUE(reference.PrepareSave());
            ASSERT_TRUE(face.replay.session()->PrepareSave());
            EXPECT_EQ(builtLines(face.replay.session()->image), builtLines(reference.image));
        }
    }
}

// While a load waits for an answer, the file open before stays open as it was; the new one
// takes its place only when its load has come to an end.
TEST(QuestionReplay, AWaitingLoadLeavesTheOpenFile)
{
    Face face;
    ASSERT_TRUE(face.answerAll(true, loadLines(servoFirmware().lines()), {}).done());
    Session* open = face.replay.session();
    const Image before = imageOf(*open);

    FirmwareBuilder second = servoFirmware();
    second.withId = false;
    second.code(1, "0300C3");
    const ReplayResult r = face.replay.open({}, loadLines(second.lines()));
    ASSERT_FALSE(r.done());
    EXPECT_EQ(face.replay.session(), open);
    EXPECT_TRUE(imageOf(*face.replay.session()) == before);

    ASSERT_TRUE(face.answerAll(true, loadLines(second.lines()), {Answer::Ignore}).done());
    EXPECT_EQ(face.questions(), 1U);
    EXPECT_EQ(face.shown.back().text, "In dem HEX-File wurde kein Wert für die ID gefunden.");
    EXPECT_FALSE(imageOf(*face.replay.session()) == before);
}

// "Geänderte Werte übernehmen?" at a save: while it waits and after No, the session is as
// before the save - the drawn curve still pending, the image untouched, the same undo steps;
// Yes writes what a blocking save writes.
TEST(QuestionReplay, TheSaveQuestionWaitsAndNoChangesNothing)
{
    const std::vector<std::string> lines = servoFirmware().lines();
    Face face;
    ASSERT_TRUE(face.answerAll(true, loadLines(lines), {}).done());
    ASSERT_TRUE(face.replay.run({}, action(kDraw)).done());
    Session& s = *face.replay.session();
    auto& page = s.pages.page<pages::KornelPage>();
    ASSERT_TRUE(page.hasPending());
    const std::vector<int> drawn = page.data();
    const Image before = imageOf(s);
    ASSERT_TRUE(s.canUndo());
    ASSERT_FALSE(s.canRedo());

    bool saved = false;
    const Step save = [&saved](Session& session) { saved = session.PrepareSave(); };
    const auto unchanged = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_TRUE(page.hasPending());
        EXPECT_EQ(page.data(), drawn);
        EXPECT_TRUE(imageOf(s) == before);
        EXPECT_TRUE(s.HasUnsavedChanges());
        EXPECT_TRUE(s.canUndo());
        EXPECT_FALSE(s.canRedo());
    };

    const ReplayResult waiting = face.replay.run({}, save);
    ASSERT_FALSE(waiting.done());
    EXPECT_EQ(waiting.question->text, "Geänderte Werte übernehmen?");
    EXPECT_EQ(waiting.question->buttons, Buttons::YesNo);
    unchanged("while the question waits");

    ASSERT_TRUE(face.replay.run({Answer::No}, save).done());
    EXPECT_FALSE(saved);
    unchanged("after No");

    ScriptedPrompter blocking; // answers Yes
    Session reference(blocking);
    reference.keepHistory();
    ASSERT_EQ(reference.LoadLines(lines, "decoder.hex"), LoadOutcome::Done);
    action(kDraw)(reference);
    ASSERT_TRUE(reference.PrepareSave());

    ASSERT_TRUE(face.replay.run({Answer::Yes}, save).done());
    EXPECT_TRUE(saved);
    EXPECT_FALSE(page.hasPending());
    EXPECT_EQ(builtLines(s.image), builtLines(reference.image));
    // The accepted copy is a step of its own: undo takes it back to the pending drawing.
    ASSERT_TRUE(s.undo());
    EXPECT_TRUE(page.hasPending());
    EXPECT_TRUE(imageOf(s) == before);
}

// A page action that shows a message after it changed something (a curve file longer than a
// curve: the first 100 lines are taken) is put back while the message waits, and done once it
// is clicked away - as one undo step, as in the window.
TEST(QuestionReplay, APageActionThatAskedIsPutBackWhileItWaits)
{
    const std::filesystem::path dir = hz::test::tempDir("replay");
    const std::string curveFile = (dir / "long.cur").string();
    std::string text;
    for (int k = 0; k < 120; ++k)
        text += std::to_string(20 + k % 60) + "\r\n";
    hz::test::writeFile(curveFile, text);
    const Step load = action("servo_load_1=" + curveFile);

    Face face;
    ASSERT_TRUE(face.answerAll(true, loadLines(servoFirmware().lines()), {}).done());
    Session& s = *face.replay.session();
    auto& page = s.pages.page<pages::KornelPage>();
    const std::vector<int> loaded = page.data();
    ASSERT_FALSE(page.hasPending());

    const ReplayResult waiting = face.replay.run({}, load);
    ASSERT_FALSE(waiting.done());
    EXPECT_EQ(waiting.question->text, pages::servo::kCurveFileCut);
    EXPECT_FALSE(page.hasPending());
    EXPECT_EQ(page.data(), loaded);
    EXPECT_FALSE(s.canUndo());
    EXPECT_FALSE(s.HasUnsavedChanges());

    ASSERT_TRUE(face.replay.run({Answer::Cancel}, load).done());
    EXPECT_TRUE(page.hasPending());
    EXPECT_NE(page.data(), loaded);

    ScriptedPrompter blocking;
    Session reference(blocking);
    ASSERT_EQ(reference.LoadLines(servoFirmware().lines(), "decoder.hex"), LoadOutcome::Done);
    blocking.clear();
    action("servo_load_1=" + curveFile)(reference);
    EXPECT_EQ(page.data(), reference.pages.page<pages::KornelPage>().data());
    EXPECT_EQ(questionsOf(blocking), std::vector<Question>{*waiting.question});

    ASSERT_TRUE(s.undo());
    EXPECT_FALSE(page.hasPending());
    EXPECT_EQ(page.data(), loaded);
    EXPECT_FALSE(s.canUndo());
    std::filesystem::remove_all(dir);
}

// An answer the message does not offer is no answer: the message stays the pending one.
TEST(QuestionReplay, AnAnswerNotOfferedLeavesTheQuestionPending)
{
    FirmwareBuilder fw = servoFirmware();
    fw.withId = false;
    QuestionReplay replay;
    const ReplayResult first = replay.open({}, loadLines(fw.lines()));
    ASSERT_FALSE(first.done());
    for (Answer wrong : {Answer::Yes, Answer::No}) {
        const ReplayResult r = replay.open({wrong}, loadLines(fw.lines()));
        ASSERT_FALSE(r.done());
        EXPECT_EQ(*r.question, *first.question);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(replay.session(), nullptr);
    }
}
