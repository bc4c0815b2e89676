#pragma once
// Questions for a face that cannot wait inside a call for the user's click (the browser).
//
// The core asks its questions synchronously (Prompter::ask). A face that can only show a
// message and be called again later runs each step of the user's work as a replay: the step
// runs with the answers the user has given so far, from the state before it. The first message
// beyond those answers is the pending question; the step's effects are put back and the face
// gets the question, shows it, and runs the step again with one more answer. Messages with a
// single button (OK, Cancel) are answers too: the user clicks through each of them, once, in
// the order the step shows them. The same answers give the same messages, so a message already
// answered is never shown again.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/BatchPrompter.h"
#include "core/EditHistory.h"
#include "core/Prompter.h"

namespace hz {

class Session;

// One message as the core shows it.
struct Question {
    MsgKind kind = MsgKind::Plain;
    std::string text;
    Buttons buttons = Buttons::Ok;
    bool operator==(const Question&) const = default;
};

// Answers from a list; past its end it notes the pending question and, from then on, answers
// every message with the button that changes nothing, unseen, until the next try starts. An
// answer the message does not offer counts as no answer: that message is the pending one.
class ReplayPrompter : public Prompter {
public:
    // A new try with these answers.
    void start(std::vector<Answer> answers);
    Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override;

    // The first message without an answer in this try.
    const std::optional<Question>& pending() const { return m_pending; }
    // The messages of this try the answers answered, in order, with their answers.
    const std::vector<BatchPrompter::Shown>& answered() const { return m_answered; }

private:
    std::vector<Answer> m_answers;
    std::optional<Question> m_pending;
    std::vector<BatchPrompter::Shown> m_answered;
};

// What a try of a step came to.
struct ReplayResult {
    // The step went through with the answers given; the session holds its result.
    bool done() const { return !question; }
    // The message to show next; the session is as it was before the step.
    std::optional<Question> question;
    // The messages the answers answered, in order (the step's messages once it is done).
    std::vector<BatchPrompter::Shown> messages;
};

// One session driven by a face that cannot block: the file opened, and each later step run as
// a replay. The session talks through the replay's own prompter.
class QuestionReplay {
public:
    QuestionReplay();
    ~QuestionReplay();

    // Loads `lines` into a fresh session with `answers`. The fresh session takes the place of
    // the one before only when the load got to its end (loaded or stopped); until then the
    // session before stays as it was. `load` runs the load on the fresh session (set-up such as
    // keepHistory() included) and is called again with every try.
    ReplayResult open(const std::vector<Answer>& answers, const std::function<void(Session&)>& load);
    // Runs `step` on the session with `answers`. On a pending question the session, its edit
    // history included, is put back to the state before the step.
    ReplayResult run(const std::vector<Answer>& answers, const std::function<void(Session&)>& step);

    // The session of the last load that got to its end; null before the first.
    Session* session() { return m_session.get(); }

private:
    ReplayResult result() const;

    ReplayPrompter m_prompter;
    std::unique_ptr<Session> m_session;
};

} // namespace hz
