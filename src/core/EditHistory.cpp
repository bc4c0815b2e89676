#include "core/EditHistory.h"

#include "core/pages/PageHost.h"

namespace hz {

EditHistory::EditHistory(FirmwareImage& image, pages::AddressPage& rows, pages::PageHost& pages,
                         std::function<void()> showAgain)
    : m_image(image), m_rows(rows), m_pages(pages), m_showAgain(std::move(showAgain))
{
    m_saved.state = currentState();
}

EditHistory::State EditHistory::currentState() const
{
    State s;
    s.memory = m_image.memory();
    s.id = m_image.IdText;
    s.config = m_image.ConfigWords;
    s.configPresent = m_image.ConfigPresent;
    for (int r = 0; r < pages::AddressPage::kRows; ++r) {
        s.address[static_cast<std::size_t>(r)] = m_rows.addressText(r);
        s.function[static_cast<std::size_t>(r)] = m_rows.functionText(r);
    }
    s.rowState = m_rows.RowState;
    return s;
}

EditHistory::Step EditHistory::currentStep() const
{
    Step s;
    s.state = currentState();
    for (const pages::Page* p : m_pages.shown()) {
        const bool pending = p->hasPending();
        s.pending.push_back(pending);
        // A copy not pending is what the image holds, and the set-up reads it again.
        s.copies.push_back(pending ? p->data() : std::vector<int>{});
    }
    return s;
}

void EditHistory::applyStep(const Step& step)
{
    m_image.restore(step.state.memory);
    m_image.IdText = step.state.id;
    m_image.ConfigWords = step.state.config;
    m_image.ConfigPresent = step.state.configPresent;
    m_rows.restoreRows(step.state.address, step.state.function, step.state.rowState);
    m_showAgain();
    const std::vector<pages::Page*>& shown = m_pages.shown();
    for (std::size_t i = 0; i < shown.size() && i < step.pending.size(); ++i)
        if (step.pending[i])
            shown[i]->setData(step.copies[i]);
}

void EditHistory::keepSteps()
{
    m_keepsSteps = true;
    startAfresh();
}

void EditHistory::startAfresh()
{
    if (!m_keepsSteps) {
        m_saved = Step{currentState(), {}, {}};
        return;
    }
    m_steps.assign(1, currentStep());
    m_at = 0;
    m_saved = m_steps.front();
    m_savedAt = 0;
    forgetTyping();
}

void EditHistory::markSaved()
{
    if (!m_keepsSteps) {
        m_saved = Step{currentState(), {}, {}};
        return;
    }
    // The history keeps its steps; the one that is this state is now the saved one.
    noteEdit();
    m_saved = currentStep();
    m_savedAt = !m_steps.empty() && m_steps[m_at] == m_saved ? m_at : kNoStep;
}

bool EditHistory::unsaved() const { return m_pages.hasPending() || !(currentState() == m_saved.state); }

void EditHistory::amendStep()
{
    if (!m_steps.empty())
        m_steps[m_at] = currentStep();
}

std::string EditHistory::lastTypedField()
{
    std::vector<const pages::Page*> all{&m_rows};
    for (const pages::Page* p : m_pages.shown())
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

void EditHistory::forgetTyping()
{
    m_typedAt.clear();
    lastTypedField();
}

void EditHistory::editAsOneStep(const std::function<void()>& edit)
{
    noteStep(true); // typing not noted yet ends its step here
    edit();
    noteStep(false);
    // Keystrokes after it, even in the same field, begin a step of their own.
    m_typedAt.clear();
}

void EditHistory::noteStep(bool mayMerge)
{
    if (!m_keepsSteps)
        return;
    if (m_steps.empty())
        startAfresh();
    for (const pages::Page* p : m_pages.shown())
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

bool EditHistory::undo()
{
    noteEdit(); // a change not yet noted is the step undo takes back first
    if (!canUndo())
        return false;
    applyStep(m_steps[--m_at]);
    forgetTyping();
    return true;
}

bool EditHistory::redo()
{
    if (!canRedo())
        return false;
    applyStep(m_steps[++m_at]);
    forgetTyping();
    return true;
}

bool EditHistory::revertToFile()
{
    noteEdit();
    if (m_steps.empty() || m_steps[m_at] == m_saved)
        return false;
    applyStep(m_saved);
    forgetTyping();
    m_steps.resize(m_at + 1);
    m_steps.push_back(currentStep());
    m_savedAt = ++m_at;
    return true;
}

std::vector<std::pair<const pages::Page*, unsigned>> EditHistory::eventCounts() const
{
    std::vector<std::pair<const pages::Page*, unsigned>> counts{{&m_rows, m_rows.userEvents()}};
    for (const pages::Page* p : m_pages.shown())
        counts.emplace_back(p, p->userEvents());
    return counts;
}

EditHistory::Snapshot EditHistory::capture() const
{
    return Snapshot{currentStep(), m_steps, m_at, m_saved, m_savedAt, m_typedAt, m_seenEvents, eventCounts()};
}

void EditHistory::restore(const Snapshot& snapshot)
{
    if (!(currentStep() == snapshot.now))
        applyStep(snapshot.now);
    m_steps = snapshot.steps;
    m_at = snapshot.at;
    m_saved = snapshot.saved;
    m_savedAt = snapshot.savedAt;
    m_typedAt = snapshot.typedAt;
    // A page's count of user events only grows: the events since the capture are taken as seen,
    // so that the events of the next try are the only new ones, as they would have been.
    m_seenEvents = snapshot.seenEvents;
    for (const auto& [page, now] : eventCounts()) {
        unsigned then = now;
        for (const auto& [q, n] : snapshot.eventsThen)
            if (q == page)
                then = n;
        bool found = false;
        for (auto& [q, n] : m_seenEvents)
            if (q == page) {
                n += now - then;
                found = true;
            }
        if (!found)
            m_seenEvents.emplace_back(page, now - then);
    }
}

} // namespace hz
