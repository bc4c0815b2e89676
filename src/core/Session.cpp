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
    return hz::WriteBuiltLines(image, path);
}

} // namespace hz
