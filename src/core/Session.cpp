#include "core/Session.h"

#include "core/firmware/HexWriter.h"

namespace hz {

Answer Session::MessageRelay::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    if (!listener || listener(kind, text))
        return m_to.ask(kind, text, buttons);
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::Cancel:
    case Buttons::CancelIgnore: return Answer::Cancel;
    case Buttons::Ignore:
    case Buttons::YesIgnore: return Answer::Ignore;
    case Buttons::YesNo: return Answer::No;
    }
    return Answer::Cancel;
}

Session::Session(Prompter& prompter)
    : m_relay(prompter),
      image(m_relay),
      rows(m_relay),
      reader(image, status),
      identification(image, status, ident),
      addresses(image, rows, ident)
{
    reader.onImageReset = [this] { m_hostView.HidePages(); };
    m_snapshot = currentState();
}

LoadOutcome Session::LoadFile(const std::string& fileName)
{
    return afterReading(reader.ReadHexFile(fileName));
}

LoadOutcome Session::LoadLines(const std::vector<std::string>& lines, const std::string& fileName)
{
    return afterReading(reader.ReadHexLines(lines, fileName));
}

LoadOutcome Session::afterReading(LoadOutcome outcome)
{
    outcome = identifyAndDecode(outcome);
    // Whatever the load got to, the image now holds the new file as far as it was read:
    // that is the state unsaved changes are measured against.
    if (outcome == LoadOutcome::Done || outcome == LoadOutcome::Stopped)
        TakeSnapshot();
    return outcome;
}

LoadOutcome Session::identifyAndDecode(LoadOutcome outcome)
{
    if (outcome != LoadOutcome::Done)
        return outcome;

    identification.IdentifyDecoder();
    identification.DetectAddressFormat();
    identification.ApplyDecoderType(m_hostView);
    if (ident.NoAddressInput)
        ident.RedGreen = false;

    if (!reader.CheckRequiredRecords())
        return LoadOutcome::Stopped;

    status.text[2] = ident.formatText();
    if (!ident.Mot && !ident.DCC)
        m_view->HideAllRows();

    if (!ident.NoAddressInput)
        addresses.DecodeRows(*m_view);
    m_view->ColourRows();
    SaveEnabled = true;
    return LoadOutcome::Done;
}

void Session::RedoLayout() { identification.RedoLayout(m_hostView); }

void Session::HostView::HidePages()
{
    m_s.pages.HidePages();
    m_s.view().HidePages();
}

void Session::HostView::ShowPage(int kind)
{
    m_s.pages.ShowPage(kind, m_s);
    m_s.view().ShowPage(kind);
}

bool Session::PrepareSave()
{
    if (!pages.ConfirmPendingPageChanges(m_relay))
        return false;
    if (!ident.NoAddressInput) {
        if (!addresses.ValidateRows(*m_view))
            return false;
        addresses.EncodeRows();
        addresses.WriteRows();
    }
    return BuildHexLines(image) > 0;
}

bool Session::WriteBuiltLines(const std::string& path)
{
    if (!hz::WriteBuiltLines(image, path))
        return false;
    TakeSnapshot();
    return true;
}

} // namespace hz

namespace hz {

Session::Snapshot Session::currentState() const
{
    Snapshot s;
    s.memory = image.memory();
    s.id = image.IdText;
    s.config = image.ConfigWords;
    s.configPresent = image.ConfigPresent;
    s.address = addresses.AddressText;
    s.function = addresses.FunctionText;
    s.rowState = addresses.RowState;
    return s;
}

void Session::TakeSnapshot() { m_snapshot = currentState(); }

bool Session::HasUnsavedChanges() const { return pages.hasPending() || !(currentState() == m_snapshot); }

bool Session::ConfirmDiscardChanges()
{
    if (!HasUnsavedChanges())
        return true;
    return m_relay.ask(MsgKind::Warning, kUnsavedChangesQuestion, Buttons::YesNo) == Answer::Yes;
}

} // namespace hz
