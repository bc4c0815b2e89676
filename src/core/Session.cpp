#include "Session.h"

#include "firmware/HexWriter.h"

namespace hz {

Session::Session(Prompter& prompter)
    : image(prompter),
      rows(prompter),
      reader(image, status),
      identification(image, status, ident),
      addresses(image, rows, ident),
      m_prompter(prompter)
{
    reader.onImageReset = [this] { m_view->hidePages(); };
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
    identification.ApplyDecoderType(*m_view);
    if (ident.NoAddressInput)
        ident.RedGreen = false;

    if (!reader.CheckRequiredRecords())
        return LoadOutcome::Stopped;

    status.text[2] = ident.formatText();
    if (!ident.Mot && !ident.DCC)
        m_view->hideAllRows();

    if (!ident.NoAddressInput)
        addresses.DecodeRows(*m_view);
    m_view->colourRows();
    SaveEnabled = true;
    return LoadOutcome::Done;
}

bool Session::PrepareSave()
{
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

bool Session::HasUnsavedChanges() const { return !(currentState() == m_snapshot); }

bool Session::ConfirmDiscardChanges()
{
    if (!HasUnsavedChanges())
        return true;
    return m_prompter.ask(MsgKind::Warning, kUnsavedChangesQuestion, Buttons::YesNo) == Answer::Yes;
}

} // namespace hz
