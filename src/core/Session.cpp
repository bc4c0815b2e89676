#include "Session.h"

#include "firmware/HexWriter.h"

namespace hz {

Session::Session(Prompter& prompter)
    : image(prompter), rows(prompter), reader(image, status), m_prompter(prompter)
{
    reader.onImageReset = [this] {
        if (onImageReset)
            onImageReset();
    };
}

LoadOutcome Session::LoadFile(const std::string& fileName)
{
    const LoadOutcome outcome = reader.ReadHexFile(fileName);
    if (outcome != LoadOutcome::Done)
        return outcome;
    if (!reader.CheckRequiredRecords())
        return LoadOutcome::Stopped;
    return LoadOutcome::Done;
}

bool Session::SaveTo(const std::string& path)
{
    return SaveHexFile(image, path);
}

} // namespace hz
