#include "core/QuestionReplay.h"

#include "core/Session.h"

namespace hz {

void ReplayPrompter::start(std::vector<Answer> answers)
{
    m_answers = std::move(answers);
    m_pending.reset();
    m_answered.clear();
}

Answer ReplayPrompter::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    if (!m_pending) {
        const std::size_t next = m_answered.size();
        if (next < m_answers.size() && offers(buttons, m_answers[next])) {
            m_answered.push_back({kind, text, buttons, m_answers[next]});
            return m_answers[next];
        }
        m_pending = Question{kind, text, buttons};
    }
    // The try is over: what follows is put back, and the user sees none of it.
    return answerThatChangesNothing(buttons);
}

QuestionReplay::QuestionReplay() = default;
QuestionReplay::~QuestionReplay() = default;

ReplayResult QuestionReplay::result() const { return ReplayResult{m_prompter.pending(), m_prompter.answered()}; }

ReplayResult QuestionReplay::open(const std::vector<Answer>& answers, const std::function<void(Session&)>& load)
{
    auto fresh = std::make_unique<Session>(m_prompter);
    m_prompter.start(answers);
    load(*fresh);
    ReplayResult r = result();
    // A load waiting for an answer leaves the session before untouched: the fresh one goes.
    if (r.done())
        m_session = std::move(fresh);
    return r;
}

ReplayResult QuestionReplay::run(const std::vector<Answer>& answers, const std::function<void(Session&)>& step)
{
    if (!m_session)
        return ReplayResult{};
    const EditHistory::Snapshot before = m_session->history.capture();
    m_prompter.start(answers);
    step(*m_session);
    ReplayResult r = result();
    // Still pending while the state is put back: what the pages' set-up says then is not shown.
    if (!r.done())
        m_session->history.restore(before);
    return r;
}

} // namespace hz
