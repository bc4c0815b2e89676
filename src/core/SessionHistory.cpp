// The session's edit history: undo and redo over whole states of what the user edits. A step
// holds everything a user event can change, so undoing never needs to know which control did
// what; the one comparison that tells unsaved changes tells a new step too.

#include "core/Session.h"

namespace hz {

Session::Step Session::currentStep() const
{
    Step s;
    s.state = currentState();
    for (const pages::Page* p : pages.shown()) {
        const bool pending = p->hasPending();
        s.pending.push_back(pending);
        // A copy not pending is what the image holds, and the set-up reads it again.
        s.copies.push_back(pending ? p->data() : std::vector<int>{});
    }
    return s;
}

void Session::applyStep(const Step& step)
{
    image.restore(step.state.memory);
    image.IdText = step.state.id;
    image.ConfigWords = step.state.config;
    image.ConfigPresent = step.state.configPresent;
    addresses.restoreRows(step.state.address, step.state.function, step.state.rowState);
    pages.ShowAgain({image, prompter(), ident.Identifier});
    const std::vector<pages::Page*>& shown = pages.shown();
    for (std::size_t i = 0; i < shown.size() && i < step.pending.size(); ++i)
        if (step.pending[i])
            shown[i]->setData(step.copies[i]);
}

void Session::keepHistory()
{
    m_keepsHistory = true;
    resetHistory();
}

void Session::resetHistory()
{
    if (!m_keepsHistory)
        return;
    m_steps.assign(1, currentStep());
    m_at = 0;
    m_savedStep = m_steps.front();
    m_savedAt = 0;
    m_typedAt.clear();
    lastTypedField(); // what happened before this state belongs to no step
}

void Session::amendStep()
{
    if (!m_steps.empty())
        m_steps[m_at] = currentStep();
}

std::string Session::lastTypedField()
{
    std::vector<const pages::Page*> all{&addresses};
    for (const pages::Page* p : pages.shown())
        all.push_back(p);
    std::vector<std::pair<const pages::Page*, unsigned>> seen;
    std::string typed;
    int touched = 0;
    for (const pages::Page* p : all) {
        seen.emplace_back(p, p->userEvents());
        unsigned before = 0;
        for (const auto& [q, n] : m_seenEvents)
            if (q == p)
                before = n;
        if (p->userEvents() == before)
            continue;
        ++touched;
        // Only a single keystroke-like event since the last step can merge with it.
        typed = p->userEvents() == before + 1 && !p->lastTyped().empty()
                    ? std::string(p->objectName()) + "/" + p->lastTyped()
                    : std::string();
    }
    m_seenEvents = std::move(seen);
    return touched == 1 ? typed : std::string();
}

void Session::noteEdit() { noteStep(true); }

void Session::editAsOneStep(const std::function<void()>& edit)
{
    noteStep(true); // typing not noted yet ends its step here
    edit();
    noteStep(false);
    // Keystrokes after it, even in the same field, begin a step of their own.
    m_typedAt.clear();
}

void Session::noteStep(bool mayMerge)
{
    if (!m_keepsHistory)
        return;
    if (m_steps.empty())
        resetHistory();
    for (const pages::Page* p : pages.shown())
        if (p->mouseHeld())
            return; // the stroke becomes one step when the button is released
    const std::string typed = lastTypedField();
    Step now = currentStep();
    if (now == m_steps[m_at])
        return;
    m_steps.resize(m_at + 1); // a new edit ends what redo could bring back
    if (m_savedAt != kNoStep && m_savedAt > m_at)
        m_savedAt = kNoStep;
    // Keystrokes into the field the current step was typed into make that step longer, unless
    // the current step is one the user must be able to come back to (the loaded or saved one).
    if (mayMerge && !typed.empty() && typed == m_typedAt && m_at > 0 && m_at != m_savedAt) {
        m_steps[m_at] = std::move(now);
        return;
    }
    m_steps.push_back(std::move(now));
    ++m_at;
    m_typedAt = mayMerge ? typed : std::string();
    // The oldest steps give way, so that a long session does not grow without end.
    if (m_steps.size() > kMaxSteps) {
        m_steps.erase(m_steps.begin());
        --m_at;
        m_savedAt = m_savedAt == 0 || m_savedAt == kNoStep ? kNoStep : m_savedAt - 1;
    }
}

bool Session::undo()
{
    noteEdit(); // a change not yet noted is the step undo takes back first
    if (!canUndo())
        return false;
    applyStep(m_steps[--m_at]);
    m_typedAt.clear();
    lastTypedField();
    return true;
}

bool Session::redo()
{
    if (!canRedo())
        return false;
    applyStep(m_steps[++m_at]);
    m_typedAt.clear();
    lastTypedField();
    return true;
}

bool Session::revertToFile()
{
    noteEdit();
    if (m_steps.empty() || m_steps[m_at] == m_savedStep)
        return false;
    applyStep(m_savedStep);
    m_typedAt.clear();
    lastTypedField();
    m_steps.resize(m_at + 1);
    m_steps.push_back(currentStep());
    m_savedAt = ++m_at;
    // The reverted state is the saved one again: undoing further and coming back here both
    // clear the unsaved mark, because that compares with the saved snapshot.
    return true;
}

} // namespace hz
